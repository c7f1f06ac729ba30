#pragma once
// Whole files, written so that a failure never leaves a half-written file in
// place of the old one, and small text files (settings, flows) read with a
// size limit.
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

// A new, empty file in the folder of `target` under a name no one else holds,
// deleted unless it was renamed over the target. path() is empty when it
// could not be made.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::wstring& target);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& path() const { return path_; }
    bool renameTo(const std::wstring& target);

  private:
    std::wstring path_;
};
