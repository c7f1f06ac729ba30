#pragma once
// Between UTF-8, the text of the portable code, and UTF-16, the text of
// Windows' file names and consoles. Windows builds only.
#include <string>
#include <string_view>

std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);
