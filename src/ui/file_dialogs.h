#pragma once
// The system's Open and Save As dialogs for one file.
#include <windows.h>

#include <string>

struct FileDialog {
    const wchar_t* title;
    const wchar_t* filter;     // pairs of description and pattern, each ending in \0
    const wchar_t* extension;  // added to a typed name without one (Save As), or null
};

// The chosen existing file; empty when the user cancelled.
std::wstring askFileToOpen(HWND owner, const FileDialog& dialog);
// The chosen file to write, `suggested` offered first; asks before replacing a
// file. Empty when the user cancelled.
std::wstring askFileToSave(HWND owner, const FileDialog& dialog, const std::wstring& suggested);
