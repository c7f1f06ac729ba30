#include "ui/preview_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int roundUpTo(int value, int step) {
    return (value + step - 1) / step * step;
}

struct Axis {
    int start = 0;        // first screen pixel of the copy
    int length = 0;       // screen pixels the copy covers
    int sourceStart = 0;  // first image pixel
    int sourceLength = 0;
};

// One axis of the paint: centre a small image, else show the window of the
// zoomed image that the offset selects.
Axis layoutAxis(int imageSize, int zoom, int clientSize, int scroll) {
    Axis axis;
    // 64-bit: a width of 2^27 at zoom 16 is already past the 32-bit range.
    const std::int64_t zoomed = std::int64_t{imageSize} * zoom;
    const int margin = zoomed < clientSize ? static_cast<int>(clientSize - zoomed) : 0;
    axis.start = margin > 0 ? margin / 2 : 0;
    const int end = axis.start + clientSize - margin;
    axis.sourceStart = scroll / zoom;
    int sourceLength = margin > 0 ? imageSize : (clientSize + zoom - 1) / zoom;
    // At the largest offsets the panel can reach past the image's last
    // column; copy only pixels that exist and let the checkerboard fill the rest.
    sourceLength = std::min(sourceLength, imageSize - axis.sourceStart);
    axis.sourceLength = std::max(sourceLength, 0);
    axis.length = std::min(roundUpTo(end - axis.start, zoom), axis.sourceLength * zoom);
    return axis;
}

}  // namespace

int clampScroll(int offset, int delta, int imageSize, int zoom, int clientSize) {
    const std::int64_t wanted = std::int64_t{offset} - delta;
    if (wanted < 0) return 0;
    const std::int64_t largest = (std::int64_t{imageSize} + 1) * zoom - clientSize - 2;
    if (largest < 0) return 0;
    // Past INT_MAX only for zoomed images wider than 2^31: the offset stops there.
    return static_cast<int>(std::min({wanted, largest, std::int64_t{INT_MAX}}));
}

PreviewLayout layoutPreview(int imageWidth, int imageHeight, int zoom, int clientWidth,
                            int clientHeight, int scrollX, int scrollY) {
    const Axis x = layoutAxis(imageWidth, zoom, clientWidth, scrollX);
    const Axis y = layoutAxis(imageHeight, zoom, clientHeight, scrollY);

    PreviewLayout layout;
    layout.source = {x.sourceStart, y.sourceStart, x.sourceStart + x.sourceLength,
                     y.sourceStart + y.sourceLength};
    layout.target = {x.start, y.start, x.start + x.length, y.start + y.length};

    const PreviewRect& t = layout.target;
    auto fill = [&layout](PreviewRect r) {
        if (!r.empty()) layout.fills[layout.fillCount++] = r;
    };
    fill({0, 0, t.left, clientHeight});
    fill({t.right, 0, clientWidth, clientHeight});
    fill({t.left, 0, t.right, t.top});
    fill({t.left, t.bottom, t.right, clientHeight});
    return layout;
}
