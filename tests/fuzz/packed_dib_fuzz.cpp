// libFuzzer target: any block is read as the clipboard's CF_DIB. The reader
// must stay inside the block (ASan), make an image exactly when the block is
// sound, and hold its rows as the block does.
#include <cstdlib>
#include <cstring>

#include "image/indexed_image.h"
#include "image/packed_dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const IndexedImage image(nullptr, data, size);
    DibInfoHeader header;
    DibLayout layout;
    const bool sound = readDibInfoHeader(data, size, header) && header.biBitCount == 8 &&
                       checkDibLayout(header, size, layout) == nullptr;
    if (image.valid != sound) std::abort();
    for (int y = 0; y < image.height && image.valid; ++y) {
        const int blockRow = layout.topDown ? image.height - 1 - y : y;
        const std::uint8_t* row =
            data + layout.pixelOffset + static_cast<std::size_t>(blockRow) * layout.stride;
        if (std::memcmp(image.row(y), row, layout.stride) != 0) std::abort();
    }
    return 0;
}
