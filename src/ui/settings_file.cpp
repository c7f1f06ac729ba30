#include "ui/settings_file.h"

#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <shlobj.h>

#include "base/log.h"
#include "base/text_file.h"
#include "base/wide_text.h"

namespace {

constexpr const wchar_t* kFolderName = L"\\Marlune";
constexpr const wchar_t* kFileName = L"\\settings.ini";

std::wstring applicationDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return folder;
    // The environment should always say; the shell knows it too.
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return folder;
    }
    return {};
}

void logPath(const char* what, const std::wstring& path, const std::string& detail = {}) {
    logFormat("%s %s%s%s\n", what, utf8FromWide(path).c_str(), detail.empty() ? "" : ": ",
              detail.c_str());
}

}  // namespace

std::wstring settingsFilePath() {
    const std::wstring folder = applicationDataFolder();
    return folder.empty() ? folder : folder + kFolderName + kFileName;
}

Settings loadSettings(const std::wstring& path) {
    if (path.empty()) return {};
    std::string text;
    std::vector<SettingsProblem> problems;
    Settings settings;
    switch (readWholeFile(path, kSettingsMaxBytes, text)) {
        case FileRead::Ok:
            settings = readSettingsText(text, problems);
            break;
        case FileRead::Missing:
            return settings;
        case FileRead::TooLarge:
            problems.push_back({0, "larger than the 64 KiB it may be, not read"});
            break;
        case FileRead::Failed:
            logPath("settings: cannot read", path, "the defaults are used");
            return settings;
    }
    if (!problems.empty()) {
        logPath("settings: damaged", path, describeProblems(problems) + "; defaults used there");
    }
    std::erase_if(settings.recentFlows, [](const std::string& flow) {
        const std::wstring file = wideFromUtf8(flow);
        if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
        logPath("settings: a recent flow is gone, dropped from the list:", file);
        return true;
    });
    return settings;
}

void saveSettings(const std::wstring& path, const Settings& settings) {
    if (path.empty()) {
        logLine("settings: no application-data folder, not saved");
        return;
    }
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    CreateDirectoryW(folder.c_str(), nullptr);  // already there after the first run
    std::string problem;
    if (!writeWholeFile(path, writeSettingsText(settings), problem)) {
        logPath("settings: cannot write", path, problem);
    }
}
