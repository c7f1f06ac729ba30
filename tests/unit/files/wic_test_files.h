#pragma once
// For the file tests under Wine: where the inputs are, a scratch folder, PNG
// and GIF files written and read with WIC directly (so tests know exactly what
// a file holds), and ImageMagick's pixel enumerations.
#include <cstdint>
#include <string>
#include <vector>

#include "files/image_file.h"

// The folder make_inputs.sh filled, with a trailing backslash.
std::wstring inputsFolder();
std::wstring widen(const std::string& text);

// A fresh folder for a test's outputs, removed with its files at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    // The names of the files in it, sorted.
    std::vector<std::wstring> names() const;

  private:
    std::wstring path_;
};

// What a palette file holds, rows top first.
struct RawIndexed {
    int width = 0;
    int height = 0;
    int bits = 0;                    // from the decoder's pixel format; 0 if not indexed
    std::vector<Argb> palette;       // as the decoder gives it
    std::vector<std::uint8_t> rows;  // one index per pixel
};

// Writes a palette PNG (frames = 1) or GIF through WIC's encoders as given.
bool writeRawIndexed(const std::wstring& path, bool gif, const RawIndexed& picture, int frames = 1);
// An uncompressed 8-bit BMP: rows top first, the palette's used-colour count
// set to its size.
bool writeBmp8(const std::wstring& path, int width, const std::vector<std::uint8_t>& rows,
               const std::vector<Argb>& palette);
// The first frame of a file as WIC decodes it.
bool readRawIndexed(const std::wstring& path, RawIndexed& picture);

// ImageMagick's "txt:" enumeration: colours by row, top first.
std::vector<std::vector<Argb>> readEnumeration(const std::wstring& path);

// The screen rows (top first) of an image: indices.
std::vector<std::uint8_t> screenIndices(const IndexedImage& image);
// The colour of palette entry `index` with the file's alpha beside.
Argb colourOf(const IndexedImage& image, const PaletteAlpha& alpha, int index);
// The whole file as bytes.
std::vector<std::uint8_t> fileBytes(const std::wstring& path);
