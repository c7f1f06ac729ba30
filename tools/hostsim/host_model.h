#pragma once
// The stand-in host's documents: projects of frames x layers of 8-bit images
// sharing one size and one 256-colour palette. Portable, no window code.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr int kHostPaletteEntries = 256;
using Palette = std::array<std::uint8_t, kHostPaletteEntries * 4>;  // RGBQUAD: blue, green, red, 0

// Limits for "New": generous for pixel art, small enough that a hostile
// command cannot make the host allocate gigabytes.
inline constexpr int kMaxSide = 4096;
inline constexpr int kMaxFrames = 1000;
inline constexpr std::int64_t kMaxProjectPixels = 64LL * 1024 * 1024;
// Limits on growth, refused with an "ERROR" reply: projects, layers, and the
// pixels of all projects, frames and layers together (one byte each).
inline constexpr int kMaxProjects = 64;
inline constexpr int kMaxLayers = 64;
inline constexpr std::int64_t kMaxHostPixels = 128LL * 1024 * 1024;

// One layer of one frame: width x height indices, top row first, no padding.
using LayerPixels = std::vector<std::uint8_t>;

struct Frame {
    int delay = 100;
    std::vector<LayerPixels> layers;
    bool operator==(const Frame&) const = default;
};

struct Project {
    int id = 0;
    std::string path = "none";
    std::string name = "none";
    int width = 0;
    int height = 0;
    Palette palette{};
    std::vector<Frame> frames;
    // Where the user stands in this project; each project keeps its own.
    int currentFrame = 1;  // 1-based, also the displayed frame
    int activeLayer = 0;   // 0-based

    int frameCount() const { return static_cast<int>(frames.size()); }
    int layerCount() const {
        return frames.empty() ? 0 : static_cast<int>(frames[0].layers.size());
    }
    // The pixels of one layer over all frames.
    std::int64_t layerPixels() const { return std::int64_t{frameCount()} * width * height; }
    LayerPixels& pixels(int frame, int layer) { return frames[frame - 1].layers[layer]; }
    const LayerPixels& pixels(int frame, int layer) const {
        return frames[frame - 1].layers[layer];
    }
    // Appends a blank layer to every frame; gives its number.
    int addLayer();
};

// Whether a project of this shape may be made (all positive, within limits).
bool projectShapeAllowed(std::int64_t frames, std::int64_t width, std::int64_t height);

// A project of `frames` frames and one layer, all pixels 0, path and name "none".
Project makeBlankProject(int frames, int width, int height, const Palette& palette);

// A grey ramp: entry i is (i, i, i).
Palette greyPalette();

struct HostModel {
    std::vector<Project> projects;
    int currentId = 0;

    // Adds the project with the next id (1, 2, ...) and makes it current.
    int addProject(Project project);
    Project* find(int id);
    Project* current() { return find(currentId); }
    const Project* current() const;
    // Whether `more` pixels still fit beside everything the host holds.
    bool hasRoomFor(std::int64_t more) const;
};

// The frame as shown: every layer, layer 0 at the bottom; index 0 on upper
// layers lets the layers below show through. Top row first.
LayerPixels compositeFrame(const Project& project, int frame);
