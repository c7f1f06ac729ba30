#include "passes/rotsprite/quarter_turn.h"

namespace rotsprite {

namespace {

int floorHalf(int doubled) {
    return doubled >= 0 ? doubled / 2 : -((1 - doubled) / 2);
}

int wrapInto(int value, int size) {
    const int rest = value % size;
    return rest < 0 ? rest + size : rest;
}

}  // namespace

void quarterTurn(const IndexedImage& input, int turns, bool wrap, IndexedImage& output) {
    static constexpr int kCos[] = {1, 0, -1, 0};
    static constexpr int kSin[] = {0, 1, 0, -1};
    const int c = kCos[turns & 3], s = kSin[turns & 3];
    const int w = input.width, h = input.height;
    // In doubled coordinates the centre (w/2, h/2) and every pixel centre are whole.
    for (int j = 0; j < h; ++j) {
        std::uint8_t* target = output.row(j);
        const int dy = 2 * j + 1 - h;
        for (int i = 0; i < w; ++i) {
            const int dx = 2 * i + 1 - w;
            int x = floorHalf(w + dx * c - dy * s);
            int y = floorHalf(h + dx * s + dy * c);
            const bool inside = x >= 0 && x < w && y >= 0 && y < h;
            if (!inside && !wrap) {
                target[i] = 0;
                continue;
            }
            if (!inside) {
                x = wrapInto(x, w);
                y = wrapInto(y, h);
            }
            target[i] = input.row(y)[x];
        }
    }
}

}  // namespace rotsprite
