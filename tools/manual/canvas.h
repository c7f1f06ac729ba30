#pragma once
// An 8-bit drawing surface held top-down (row 0 is the top of the page), with
// the few primitives the manual page needs. Everything is clipped to the page.
#include <cstdint>
#include <vector>

class IndexedImage;

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    int right() const { return x + w; }
    int bottom() const { return y + h; }
};

class Canvas {
  public:
    Canvas(int width, int height, std::uint8_t fill);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, std::uint8_t value);
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

    void fill(Rect r, std::uint8_t value);
    void frame(Rect r, std::uint8_t value);  // one-pixel outline inside r
    void hline(int x0, int x1, int y, std::uint8_t value);
    void vline(int x, int y0, int y1, std::uint8_t value);
    void dottedHline(int x0, int x1, int y, std::uint8_t value);
    void dottedVline(int x, int y0, int y1, std::uint8_t value);
    // An 8-pixel-square checkerboard of 4 x 4 squares anchored at r's corner.
    void checker(Rect r, std::uint8_t light, std::uint8_t dark);

    // Draws `image` (its memory rows are bottom-up) with its top-left corner at
    // (x, y), every image pixel a zoom x zoom block, indices copied unchanged.
    void blit(const IndexedImage& image, int x, int y, int zoom);

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};
