#pragma once
// Rows of Scale2x and Scale3x, whole. A neighbour outside the image is taken
// as the nearest pixel inside it (the row itself above the top row, the pixel
// itself beside the first and last column): with Scale2x's and Scale3x's rules
// that gives exactly what outside neighbours that match nothing give, since a
// copied neighbour equal to the centre changes nothing. So border rows run
// through the same vector code as the rest. Writes exactly the blocks of the
// rows named, never a row's padding.
#include "image/indexed_image.h"

namespace kernels {

// Input rows [first, last) of `in` into `out`, 2w x 2h: input memory row r
// makes output memory rows 2r + 1 (upper on screen) and 2r.
void scale2xRows(const IndexedImage& in, IndexedImage& out, int first, int last);

// The same for Scale3x into 3w x 3h: rows 3r + 2, 3r + 1 and 3r.
void scale3xRows(const IndexedImage& in, IndexedImage& out, int first, int last);

}  // namespace kernels
