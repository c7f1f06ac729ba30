#include "passes/pass.h"

IndexedImage* Pass::outputFor(HWND owner, const IndexedImage& input, int width, int height) {
    if (!output) output = std::make_unique<IndexedImage>(owner, width, height, input.palette());
    return output->valid ? output.get() : nullptr;
}
