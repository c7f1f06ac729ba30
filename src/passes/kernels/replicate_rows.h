#pragma once
// Rows of the replication passes. Each writes exactly the output bytes named,
// never a row's padding.
#include "image/indexed_image.h"

namespace kernels {

// Input rows [first, last): every pixel a 2 x 2 block of out, 2w x 2h.
void zoom2xRows(const IndexedImage& in, IndexedImage& out, int first, int last);
// Every pixel a 3 x 3 block of out, 3w x 3h.
void zoom3xRows(const IndexedImage& in, IndexedImage& out, int first, int last);
// Every pixel at the upper left (on screen) of its 2 x 2 cell of out, the
// other three index 0.
void space2xRows(const IndexedImage& in, IndexedImage& out, int first, int last);

}  // namespace kernels
