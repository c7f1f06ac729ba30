#include "e2e_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <windows.h>

namespace {

constexpr std::size_t kFileHeaderBytes = 14;  // BITMAPFILEHEADER

std::string stripLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

}  // namespace

TempFolder::TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "marlune-e2e-%lu-%lu-%u", GetCurrentProcessId(),
                      GetTickCount(), ++counter);
        path_ = std::string(temp) + name;
        if (CreateDirectoryA(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::file(const std::string& name) const {
    return path_ + "\\" + name;
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(stripLineEnd(line));
    return lines;
}

std::map<std::string, std::string> readKeyValues(const std::string& path) {
    std::map<std::string, std::string> values;
    for (const std::string& line : readLines(path)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

std::unique_ptr<IndexedImage> readBmpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() < kFileHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') return nullptr;
    return std::make_unique<IndexedImage>(nullptr, bytes.data() + kFileHeaderBytes,
                                          bytes.size() - kFileHeaderBytes);
}

const IndexedImage* HostDump::layer(int project, int frame, int layerNumber) const {
    const auto found = layers.find(LayerKey{project, frame, layerNumber});
    return found == layers.end() ? nullptr : found->second.get();
}

HostDump readDump(const std::string& folder) {
    HostDump dump;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        LayerKey key;
        int consumed = 0;
        if (std::sscanf(name.c_str(), "p%d_f%d_l%d.bmp%n", &key.project, &key.frame, &key.layer,
                        &consumed) == 3 &&
            consumed == static_cast<int>(name.size())) {
            dump.layers[key] = readBmpFile(entry.path().string());
        } else if (std::sscanf(name.c_str(), "p%d.txt%n", &key.project, &consumed) == 1 &&
                   consumed == static_cast<int>(name.size())) {
            dump.projects[key.project] = readKeyValues(entry.path().string());
        }
    }
    return dump;
}
