#pragma once
// Turns by whole quarter turns, exactly: every pixel centre lands on a pixel
// centre (or, when width and height differ in parity, half a pixel off, and
// the pixel whose corner it lands on is taken), so nothing is lost but what
// leaves the frame.
#include "image/indexed_image.h"

namespace rotsprite {

// Turns `input` by `turns` quarter turns (any count, taken modulo 4; positive
// is clockwise on screen, as the rotation angle) about its exact centre into
// `output`, which has the input's size. Pixels whose source lies outside get
// index 0, or the source wrapped into the image when `wrap`.
void quarterTurn(const IndexedImage& input, int turns, bool wrap, IndexedImage& output);

}  // namespace rotsprite
