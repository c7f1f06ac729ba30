#pragma once
// A picture of turns side by side, for the documentation: rows of images,
// each pixel drawn as a block of its row's zoom, written as a binary PPM
// (convert it to PNG with ImageMagick).
#include <string>
#include <vector>

#include "image/indexed_image.h"

struct PictureRow {
    std::vector<const IndexedImage*> images;
    int zoom;
};

// False when the file cannot be written.
bool writeRows(const std::string& path, const std::vector<PictureRow>& rows);
