#include "cli/console_win32.h"

#include <windows.h>

#include "base/wide_text.h"

namespace {

void write(DWORD which, const std::string& text) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16 whatever its code page.
        const std::wstring wide = wideFromUtf8(text);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

}  // namespace

void writeOut(const std::string& text) {
    write(STD_OUTPUT_HANDLE, text);
}

void writeError(const std::string& text) {
    write(STD_ERROR_HANDLE, text);
}
