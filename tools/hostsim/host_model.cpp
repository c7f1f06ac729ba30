#include "host_model.h"

#include <algorithm>

int Project::addLayer() {
    for (Frame& frame : frames) {
        frame.layers.emplace_back(
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    }
    return layerCount() - 1;
}

bool projectShapeAllowed(std::int64_t frames, std::int64_t width, std::int64_t height) {
    if (frames < 1 || frames > kMaxFrames) return false;
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) return false;
    return frames * width * height <= kMaxProjectPixels;
}

Project makeBlankProject(int frames, int width, int height, const Palette& palette) {
    Project project;
    project.width = width;
    project.height = height;
    project.palette = palette;
    project.frames.resize(static_cast<std::size_t>(frames));
    project.addLayer();
    return project;
}

Palette greyPalette() {
    Palette palette{};
    for (int i = 0; i < kHostPaletteEntries; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        palette[4 * i + 0] = level;
        palette[4 * i + 1] = level;
        palette[4 * i + 2] = level;
    }
    return palette;
}

int HostModel::addProject(Project project) {
    int next = 1;
    for (const Project& p : projects) next = std::max(next, p.id + 1);
    project.id = next;
    projects.push_back(std::move(project));
    currentId = next;
    return next;
}

Project* HostModel::find(int id) {
    for (Project& p : projects) {
        if (p.id == id) return &p;
    }
    return nullptr;
}

const Project* HostModel::current() const {
    for (const Project& p : projects) {
        if (p.id == currentId) return &p;
    }
    return nullptr;
}

bool HostModel::hasRoomFor(std::int64_t more) const {
    std::int64_t held = 0;
    for (const Project& p : projects) held += p.layerPixels() * p.layerCount();
    return held + more <= kMaxHostPixels;
}

LayerPixels compositeFrame(const Project& project, int frame) {
    const Frame& f = project.frames[static_cast<std::size_t>(frame - 1)];
    LayerPixels out = f.layers.empty() ? LayerPixels{} : f.layers[0];
    for (std::size_t l = 1; l < f.layers.size(); ++l) {
        const LayerPixels& layer = f.layers[l];
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (layer[i] != 0) out[i] = layer[i];
        }
    }
    return out;
}
