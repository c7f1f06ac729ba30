#pragma once
// Whole small text files (settings, flows): read with a size limit, written
// so that a failure never leaves a half-written file in place of the old one.
#include <cstddef>
#include <string>
#include <string_view>

enum class FileRead { Ok, Missing, TooLarge, Failed };

// The whole file into `text` when it holds at most `limit` bytes.
FileRead readWholeFile(const std::wstring& path, std::size_t limit, std::string& text);

// Writes a new file in the folder of `path` and renames it over `path` once it
// is complete. On failure the old file stays as it was, no temporary file is
// left, and `problem` says what failed.
bool writeWholeFile(const std::wstring& path, std::string_view text, std::string& problem);
