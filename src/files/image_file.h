#pragma once
// Image files: PNG, BMP and GIF read into IndexedImages, indexed PNG written
// back. Palette images keep their indices and palette exactly; truecolour
// pictures of at most 256 colours are indexed exactly. The reading and writing
// go through the Windows Imaging Component (Windows builds only); what turns
// decoded pixels into images is portable.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/indexed_picture.h"
#include "image/indexed_image.h"

// Per-index transparency read from a file (PNG tRNS, a GIF's transparent
// index, the alpha of exactly indexed colours), kept beside the image and
// written back. `present` is false for an opaque picture and a host image.
struct PaletteAlpha {
    std::array<std::uint8_t, kMaxColours> alpha = opaque();
    bool present = false;

    static std::array<std::uint8_t, kMaxColours> opaque() {
        std::array<std::uint8_t, kMaxColours> values;
        values.fill(0xFF);
        return values;
    }
};

struct ImageFile {
    std::vector<std::unique_ptr<IndexedImage>> frames;  // a GIF's frames in order; else one
    PaletteAlpha alpha;
};

// The picture as images (rows turned bottom-up, the palette's colours in the
// header, its alpha beside). False, with `file` untouched, when an image could
// not be made.
bool makeImageFile(const IndexedPicture& picture, HWND owner, ImageFile& file);

// Reads a PNG, BMP or GIF; with `allFrames` false a GIF gives its first frame
// only. On failure: false, `file` untouched, and `error` names the file and
// says why ("ERROR: ..."). Needs COM initialised on the calling thread.
bool readImageFile(const std::wstring& path, HWND owner, bool allFrames, ImageFile& file,
                   std::string& error);

// How many images readImageFile gives with all frames: a GIF's frame count
// (read without decoding the frames), 1 for anything else. False with `error`
// as readImageFile gives it when a GIF cannot be read.
bool readFrameCount(const std::wstring& path, unsigned& frames, std::string& error);

// Writes `image` as an indexed PNG with its palette exactly and `alpha` as
// tRNS when present. The file is written beside the target under a temporary
// name and renamed over it only when complete: a failure leaves no partial
// file and an existing target as it was. Needs COM initialised.
bool writePngFile(const std::wstring& path, const IndexedImage& image, const PaletteAlpha& alpha,
                  std::string& error);
