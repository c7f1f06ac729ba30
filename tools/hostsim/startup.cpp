#include "startup.h"

#include <fstream>
#include <iterator>

#include "frame_dib.h"
#include "sample_sprite.h"

namespace {

constexpr int kBlankSide = 32;
// BMP files of frames are small; this refuses anything absurd before reading it.
constexpr std::streamoff kMaxBmpFileBytes = 256LL * 1024 * 1024;

bool readFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kMaxBmpFileBytes) return false;
    bytes.resize(static_cast<std::size_t>(size));
    file.seekg(0);
    return static_cast<bool>(file.read(reinterpret_cast<char*>(bytes.data()), size));
}

bool openBmpFiles(const HostOptions& options, const std::string& firstFilePath, HostModel& model,
                  std::string& error) {
    Project project;
    for (const std::string& path : options.openFiles) {
        std::vector<std::uint8_t> bytes;
        if (!readFile(path, bytes)) {
            error = "cannot read " + path;
            return false;
        }
        DecodedImage image;
        if (const char* problem = decodeBmpFile(bytes, image)) {
            error = path + ": " + problem;
            return false;
        }
        if (project.frames.empty()) {
            project.width = image.width;
            project.height = image.height;
            project.palette = image.palette;
        } else if (image.width != project.width || image.height != project.height) {
            error = path + " differs in size from the first frame";
            return false;
        }
        Frame frame;
        frame.layers.push_back(std::move(image.pixels));
        project.frames.push_back(std::move(frame));
    }
    project.path = firstFilePath;
    project.name = fileNameOf(firstFilePath);
    model.addProject(std::move(project));
    return true;
}

}  // namespace

std::string fileNameOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool buildStartModel(const HostOptions& options, const std::string& firstFilePath, HostModel& model,
                     std::string& error) {
    if (!options.openFiles.empty()) return openBmpFiles(options, firstFilePath, model, error);
    if (options.sample) {
        model.addProject(makeSampleProject());
        return true;
    }
    model.addProject(makeBlankProject(1, kBlankSide, kBlankSide, greyPalette()));
    return true;
}
