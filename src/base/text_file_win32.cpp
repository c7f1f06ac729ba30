#include "base/text_file.h"

#include <windows.h>

#include "base/win32_handles.h"

namespace {

std::string systemMessage(DWORD code) {
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(code) : message;
}

bool writeAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        const DWORD chunk = text.size() > 1u << 20 ? 1u << 20 : static_cast<DWORD>(text.size());
        DWORD written = 0;
        if (!WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0) return false;
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

FileRead readWholeFile(const std::wstring& path, std::size_t limit, std::string& text) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                              : FileRead::Failed;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return FileRead::Failed;
    if (static_cast<unsigned long long>(size.QuadPart) > limit) return FileRead::TooLarge;
    text.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), text.data() + done, static_cast<DWORD>(text.size() - done), &read,
                      nullptr)) {
            return FileRead::Failed;
        }
        if (read == 0) break;  // shorter than it said: take what is there
        done += read;
    }
    text.resize(done);
    return FileRead::Ok;
}

TemporaryFile::TemporaryFile(const std::wstring& target) {
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
    wchar_t name[MAX_PATH + 1] = {};
    // Creates the file, empty, under a name no one else holds.
    if (folder.size() < MAX_PATH - 14 && GetTempFileNameW(folder.c_str(), L"mrl", 0, name)) {
        path_ = name;
    }
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
}

bool TemporaryFile::renameTo(const std::wstring& target) {
    if (!MoveFileExW(path_.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return false;
    }
    path_.clear();
    return true;
}

bool writeWholeFile(const std::wstring& path, std::string_view text, std::string& problem) {
    TemporaryFile temporary(path);
    if (temporary.path().empty()) {
        problem = systemMessage(GetLastError());
        return false;
    }
    {
        FileHandle file(CreateFileW(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!(file.isOpen() && writeAll(file.get(), text) && FlushFileBuffers(file.get()))) {
            problem = systemMessage(GetLastError());
            return false;  // the temporary file goes with `temporary`
        }
    }
    if (!temporary.renameTo(path)) {
        problem = systemMessage(GetLastError());
        return false;
    }
    return true;
}
