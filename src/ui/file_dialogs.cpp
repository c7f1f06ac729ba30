#include "ui/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "base/log.h"

namespace {

// Long paths: the dialog says FNERR_BUFFERTOOSMALL rather than cutting one.
constexpr DWORD kPathCapacity = 32768;

std::wstring ask(HWND owner, const FileDialog& dialog, const std::wstring& suggested, bool save) {
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    suggested.copy(path.data(), kPathCapacity - 1);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = dialog.filter;
    request.nFilterIndex = 1;
    request.lpstrFile = path.data();
    request.nMaxFile = kPathCapacity;
    request.lpstrTitle = dialog.title;
    request.lpstrDefExt = dialog.extension;
    // The dialog would otherwise move the process's current folder.
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                    (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request);
    if (!chosen) {
        if (const DWORD problem = CommDlgExtendedError()) {
            logFormat("ERROR: the file dialog failed (code 0x%lx)\n",
                      static_cast<unsigned long>(problem));
        }
        return {};
    }
    return path.data();
}

}  // namespace

std::wstring askFileToOpen(HWND owner, const FileDialog& dialog) {
    return ask(owner, dialog, {}, false);
}

std::wstring askFileToSave(HWND owner, const FileDialog& dialog, const std::wstring& suggested) {
    return ask(owner, dialog, suggested, true);
}
