#pragma once
// The manual page's own 256-colour palette: fixed colours for the sprite, the
// page and the window sketch, then antialiasing ramps made on demand for every
// (background, ink) pair that text is drawn with.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// Fixed palette indices. 0..15 belong to the example sprite (index 0 is what
// the passes write into new pixels); the page and sketch colours follow.
namespace colour {
constexpr std::uint8_t kPaper = 16;
constexpr std::uint8_t kInk = 17;
constexpr std::uint8_t kInkSoft = 18;
constexpr std::uint8_t kRule = 19;
constexpr std::uint8_t kAccent = 20;
constexpr std::uint8_t kAccentPale = 21;
constexpr std::uint8_t kNoteFill = 22;
constexpr std::uint8_t kNoteBorder = 23;
constexpr std::uint8_t kWindowFace = 24;  // the panels' 0xF0F0F0
constexpr std::uint8_t kWindowFrame = 25;
constexpr std::uint8_t kCaption = 26;
constexpr std::uint8_t kControlBorder = 27;
constexpr std::uint8_t kButtonFace = 28;
constexpr std::uint8_t kCheckerDark = 29;   // 0x808080, as the preview's checkerboard
constexpr std::uint8_t kCheckerLight = 30;  // 0x969696
constexpr std::uint8_t kCallout = 31;
constexpr std::uint8_t kSelection = 32;
constexpr std::uint8_t kFieldWhite = 33;
constexpr std::uint8_t kShadow = 34;
constexpr int kFirstRamp = 40;
}  // namespace colour

// Steps of an antialiasing ramp: 0 is the background, kRampSteps - 1 the ink.
constexpr int kRampSteps = 8;

class PagePalette {
  public:
    // The fixed colours above; `sprite` gives entries 0..15.
    explicit PagePalette(const std::array<Rgb, 16>& sprite);

    // The ramp from `background` to `ink`, made on first use. Throws when the
    // palette is full (the page's content is ours, so that is a layout bug).
    const std::array<std::uint8_t, kRampSteps>& ramp(std::uint8_t background, std::uint8_t ink);

    // For an entry made by ramp(): its background, ink and step.
    struct RampStep {
        std::uint8_t background = 0, ink = 0;
        int step = 0;
    };
    std::optional<RampStep> rampStep(std::uint8_t index) const;

    Rgb colourAt(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    int used() const { return next_; }
    // 256 RGBQUAD entries (blue, green, red, 0), as a BMP and a DIB hold them.
    std::array<std::uint8_t, 1024> rgbQuads() const;

  private:
    std::array<Rgb, 256> entries_{};
    int next_ = colour::kFirstRamp;
    std::map<std::pair<std::uint8_t, std::uint8_t>, std::array<std::uint8_t, kRampSteps>> ramps_;
    std::map<std::uint8_t, RampStep> steps_;
};
