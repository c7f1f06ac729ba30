#pragma once
// Files the stand-in host writes, and a scratch folder for them.
#include <compare>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "image/indexed_image.h"

// A fresh, empty folder under the Wine temp folder, removed with its content
// on destruction.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + "\\" + name.
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// The lines of a text file (e.g. hostsim's --log), without CR or LF.
// Empty when the file cannot be read.
std::vector<std::string> readLines(const std::string& path);
// The bytes of a file; empty when it cannot be read.
std::string fileText(const std::string& path);

struct LayerKey {
    int project = 0;
    int frame = 0;
    int layer = 0;
    auto operator<=>(const LayerKey&) const = default;
};

// What hostsim's --dump folder holds after the host exited: p<id>.txt
// (key=value lines) and p<id>_f<frame>_l<layer>.bmp (null when unreadable).
struct HostDump {
    std::map<int, std::map<std::string, std::string>> projects;
    std::map<LayerKey, std::unique_ptr<IndexedImage>> layers;

    // The layer's image, or null when the dump has none.
    const IndexedImage* layer(int project, int frame, int layer) const;
};
HostDump readDump(const std::string& folder);
