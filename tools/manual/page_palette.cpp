#include "page_palette.h"

#include <stdexcept>

namespace {

std::uint8_t mix(std::uint8_t from, std::uint8_t to, int step) {
    const int last = kRampSteps - 1;
    return static_cast<std::uint8_t>((from * (last - step) + to * step + last / 2) / last);
}

}  // namespace

PagePalette::PagePalette(const std::array<Rgb, 16>& sprite) {
    for (std::size_t i = 0; i < sprite.size(); ++i) entries_[i] = sprite[i];
    entries_[colour::kPaper] = {255, 255, 255};
    entries_[colour::kInk] = {28, 30, 38};
    entries_[colour::kInkSoft] = {88, 94, 108};
    entries_[colour::kRule] = {204, 208, 216};
    entries_[colour::kAccent] = {30, 86, 158};
    entries_[colour::kAccentPale] = {231, 239, 250};
    entries_[colour::kNoteFill] = {255, 246, 214};
    entries_[colour::kNoteBorder] = {222, 168, 36};
    entries_[colour::kWindowFace] = {240, 240, 240};
    entries_[colour::kWindowFrame] = {96, 100, 110};
    entries_[colour::kCaption] = {44, 92, 160};
    entries_[colour::kControlBorder] = {150, 152, 158};
    entries_[colour::kButtonFace] = {225, 225, 228};
    entries_[colour::kCheckerDark] = {128, 128, 128};
    entries_[colour::kCheckerLight] = {150, 150, 150};
    entries_[colour::kCallout] = {206, 72, 36};
    entries_[colour::kSelection] = {0, 112, 204};
    entries_[colour::kFieldWhite] = {252, 252, 252};
    entries_[colour::kShadow] = {188, 192, 200};
}

const std::array<std::uint8_t, kRampSteps>& PagePalette::ramp(std::uint8_t background,
                                                              std::uint8_t ink) {
    const auto key = std::make_pair(background, ink);
    if (auto found = ramps_.find(key); found != ramps_.end()) return found->second;

    std::array<std::uint8_t, kRampSteps> indices{};
    indices.front() = background;
    indices.back() = ink;
    const Rgb from = entries_[background];
    const Rgb to = entries_[ink];
    for (int step = 1; step < kRampSteps - 1; ++step) {
        if (next_ >= 256) throw std::runtime_error("manual palette is full");
        entries_[static_cast<std::size_t>(next_)] = {
            mix(from.r, to.r, step), mix(from.g, to.g, step), mix(from.b, to.b, step)};
        indices[static_cast<std::size_t>(step)] = static_cast<std::uint8_t>(next_);
        steps_[static_cast<std::uint8_t>(next_)] = {background, ink, step};
        ++next_;
    }
    return ramps_.emplace(key, indices).first->second;
}

std::optional<PagePalette::RampStep> PagePalette::rampStep(std::uint8_t index) const {
    if (auto found = steps_.find(index); found != steps_.end()) return found->second;
    return std::nullopt;
}

std::array<std::uint8_t, 1024> PagePalette::rgbQuads() const {
    std::array<std::uint8_t, 1024> quads{};
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        quads[i * 4 + 0] = entries_[i].b;
        quads[i * 4 + 1] = entries_[i].g;
        quads[i * 4 + 2] = entries_[i].r;
    }
    return quads;
}
