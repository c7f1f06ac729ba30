#include "dump.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame_dib.h"

namespace {

bool writeFile(const std::filesystem::path& path, const void* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

}  // namespace

std::string projectDescription(const Project& project) {
    std::ostringstream text;
    text << "name=" << project.name << "\npath=" << project.path
         << "\nframes=" << project.frameCount() << "\nlayers=" << project.layerCount()
         << "\nwidth=" << project.width << "\nheight=" << project.height << "\ndelays=";
    for (int f = 1; f <= project.frameCount(); ++f) {
        text << (f > 1 ? "," : "") << project.frames[static_cast<std::size_t>(f - 1)].delay;
    }
    text << "\n";
    return text.str();
}

bool writeDump(const HostModel& model, const std::string& folder, std::string& error) {
    const std::filesystem::path base(folder);
    std::error_code ignored;
    std::filesystem::create_directories(base, ignored);
    auto write = [&](const std::string& name, const void* data, std::size_t size) {
        if (writeFile(base / name, data, size)) return true;
        error = "cannot write " + (base / name).string();
        return false;
    };
    for (const Project& project : model.projects) {
        std::ostringstream id;
        id << 'p' << project.id;
        for (int f = 1; f <= project.frameCount(); ++f) {
            for (int l = 0; l < project.layerCount(); ++l) {
                std::ostringstream name;
                name << id.str() << "_f" << f << "_l" << l << ".bmp";
                const std::vector<std::uint8_t> file = makeBmpFile(
                    project.pixels(f, l), project.width, project.height, project.palette);
                if (!write(name.str(), file.data(), file.size())) return false;
            }
        }
        const std::string description = projectDescription(project);
        id << ".txt";
        if (!write(id.str(), description.data(), description.size())) return false;
    }
    return true;
}
