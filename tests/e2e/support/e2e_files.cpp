#include "e2e_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <windows.h>

namespace {

constexpr std::size_t kFileHeaderBytes = 14;  // BITMAPFILEHEADER

// The packed DIB after the file header; the image may be !valid.
std::unique_ptr<IndexedImage> readBmpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < kFileHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') return nullptr;
    return std::make_unique<IndexedImage>(nullptr, &bytes[kFileHeaderBytes],
                                          bytes.size() - kFileHeaderBytes);
}

}  // namespace

TempFolder::TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    do {
        char name[64];
        std::snprintf(name, sizeof name, "marlune-e2e-%lu-%lu-%u", GetCurrentProcessId(),
                      GetTickCount(), ++counter);
        path_ = std::string(temp) + name;
    } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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
        int end = 0;
        if (std::sscanf(name.c_str(), "p%d_f%d_l%d.bmp%n", &key.project, &key.frame, &key.layer,
                        &end) == 3 &&
            end == static_cast<int>(name.size())) {
            dump.layers[key] = readBmpFile(entry.path().string());
        } else if (std::sscanf(name.c_str(), "p%d.txt%n", &key.project, &end) == 1 &&
                   end == static_cast<int>(name.size())) {
            auto& values = dump.projects[key.project];
            for (const std::string& line : readLines(entry.path().string())) {
                const std::size_t equals = line.find('=');
                if (equals != std::string::npos)
                    values[line.substr(0, equals)] = line.substr(equals + 1);
            }
        }
    }
    return dump;
}
