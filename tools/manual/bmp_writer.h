#pragma once
// An 8-bit uncompressed BMP: file header, BITMAPINFOHEADER, 256 RGBQUAD
// entries, rows bottom-up padded to a multiple of 4 bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "page_palette.h"

std::vector<std::uint8_t> encodeBmp8(const Canvas& canvas, const PagePalette& palette);
// Throws std::runtime_error when the file cannot be written completely.
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
