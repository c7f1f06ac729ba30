#pragma once
// Text between the 16-bit interface of the window and file functions and the
// UTF-8 that the settings and flow files hold.
#include <string>
#include <string_view>

std::string toUtf8(std::wstring_view text);
// Empty when `text` is not well-formed UTF-8.
std::wstring fromUtf8(std::string_view text);
// Text in the system's 8-bit code page, as the host's names come.
std::wstring fromAnsi(std::string_view text);
// The file part of a path, after the last backslash or slash.
std::wstring fileNameOf(const std::wstring& path);
