#pragma once
#include "image/indexed_image.h"

namespace kernels {

// True when `image` exists and has the size a pass is about to write. The chain
// drops an output whenever its input may change size; this keeps a pass from
// writing past an output that was not dropped.
inline bool hasSize(const IndexedImage* image, int width, int height) {
    return image != nullptr && image->width == width && image->height == height;
}

}  // namespace kernels
