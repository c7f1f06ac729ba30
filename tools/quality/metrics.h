#pragma once
// What the quality tool measures on one sprite, for one way of turning it.
#include <functional>
#include <memory>

#include "image/indexed_image.h"

// Turns an image by whole degrees (positive: clockwise on screen), same size.
using Turn = std::function<std::unique_ptr<IndexedImage>(const IndexedImage&, int degrees)>;

// Pixels that differ between two images of the same size.
int differingPixels(const IndexedImage& a, const IndexedImage& b);

// Whether the turn by 90, 180 and 270 degrees is the exact pixel rotation
// (square images: no pixel is lost).
bool exactAtRightAngles(const Turn& turn, const IndexedImage& image);

// Turns by `degrees`, then by 360 - degrees: the fraction of the pixels of the
// circle inscribed in the image that differ from the original.
double roundTripMismatch(const Turn& turn, const IndexedImage& image, int degrees);

// Whether the output holds an index that is neither in the input nor 0 (the
// index every rotation gives to pixels it brings in from outside).
bool addsIndex(const IndexedImage& input, const IndexedImage& output);

// Of the input's lone pixels inside the inscribed circle (an index none of its
// four neighbours has), the fraction whose index is missing from the 3 x 3
// output pixels around where it turns to.
double lostDetails(const IndexedImage& input, const IndexedImage& output, int degrees);
