#pragma once
// For the file tests under Wine: COM, where make_inputs.sh put the inputs,
// ImageMagick's view of them, and images as rows of indices and colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/com_ref.h"
#include "files/image_file.h"

// COM for the tests' thread: testing::AddGlobalTestEnvironment(new ComEnvironment).
class ComEnvironment : public testing::Environment {
  public:
    void SetUp() override { com_ = std::make_unique<ComInitialisation>(); }
    void TearDown() override { com_.reset(); }

  private:
    std::unique_ptr<ComInitialisation> com_;
};

// The inputs' folder, with a trailing backslash.
std::string inputsFolder();
std::wstring widen(const std::string& text);
// The file as readImageFile reads it (every frame, or the first), expecting success.
ImageFile readOk(const std::string& path, bool allFrames = false);

// The image's indices, rows top first.
std::vector<std::uint8_t> screenIndices(const IndexedImage& image);
// Palette entry `index` as 0xAARRGGBB, its alpha from `alpha`.
Argb colourOf(const IndexedImage& image, const PaletteAlpha& alpha, int index);

// Expects the image to show what ImageMagick's enumeration `view` shows:
// the same colour where that is opaque, clear where it is clear.
void expectShows(const IndexedImage& image, const PaletteAlpha& alpha, const std::string& view);
