#pragma once
// The sprites the quality figures are measured on: the sample knight's frames
// and layers, the manual's heart, and drawn shapes that are hard to turn well
// (one-pixel outlines, thin diagonals, single-pixel highlights).
#include <memory>
#include <string>
#include <vector>

#include "image/indexed_image.h"

struct Sprite {
    std::string name;
    std::unique_ptr<IndexedImage> image;
};

std::vector<Sprite> qualitySprites();
