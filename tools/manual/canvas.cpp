#include "canvas.h"

#include <algorithm>

#include "image/indexed_image.h"

Canvas::Canvas(int width, int height, std::uint8_t fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Canvas::set(int x, int y, std::uint8_t value) {
    if (inside(x, y)) pixels_[index(x, y)] = value;
}

void Canvas::fill(Rect r, std::uint8_t value) {
    const int x0 = std::max(r.x, 0), x1 = std::min(r.right(), width_);
    const int y0 = std::max(r.y, 0), y1 = std::min(r.bottom(), height_);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) pixels_[index(x, y)] = value;
    }
}

void Canvas::frame(Rect r, std::uint8_t value) {
    if (r.w <= 0 || r.h <= 0) return;
    hline(r.x, r.right() - 1, r.y, value);
    hline(r.x, r.right() - 1, r.bottom() - 1, value);
    vline(r.x, r.y, r.bottom() - 1, value);
    vline(r.right() - 1, r.y, r.bottom() - 1, value);
}

void Canvas::hline(int x0, int x1, int y, std::uint8_t value) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) set(x, y, value);
}

void Canvas::vline(int x, int y0, int y1, std::uint8_t value) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) set(x, y, value);
}

void Canvas::dottedHline(int x0, int x1, int y, std::uint8_t value) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); x += 2) set(x, y, value);
}

void Canvas::dottedVline(int x, int y0, int y1, std::uint8_t value) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); y += 2) set(x, y, value);
}

void Canvas::checker(Rect r, std::uint8_t light, std::uint8_t dark) {
    for (int y = r.y; y < r.bottom(); ++y) {
        for (int x = r.x; x < r.right(); ++x) {
            const bool lightSquare = (((x - r.x) / 4) + ((y - r.y) / 4)) % 2 == 0;
            set(x, y, lightSquare ? light : dark);
        }
    }
}

void Canvas::blit(const IndexedImage& image, int x, int y, int zoom) {
    for (int row = 0; row < image.height; ++row) {
        // Memory row 0 is the bottom row on screen.
        const std::uint8_t* source = image.row(image.height - 1 - row);
        for (int column = 0; column < image.width; ++column) {
            fill({x + column * zoom, y + row * zoom, zoom, zoom}, source[column]);
        }
    }
}
