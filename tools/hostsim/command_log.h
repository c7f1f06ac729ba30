#pragma once
// --log: every command text as received, one per line, flushed at once so
// that a test reading the file while the host runs, or after it was killed,
// sees every line.
#include <fstream>
#include <string>

class CommandLog {
  public:
    explicit CommandLog(const std::string& path) : wanted(!path.empty()) {
        if (wanted) file.open(path, std::ios::binary | std::ios::app);
    }
    bool failed() const { return wanted && !file.is_open(); }
    void write(const std::string& command) {
        if (!file.is_open()) return;
        file << command << '\n';
        file.flush();
    }

  private:
    bool wanted;
    std::ofstream file;
};
