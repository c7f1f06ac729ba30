#pragma once
// The Scale2x and Scale3x rules for one source pixel. The value type is a byte
// in the interior and an int on the border, where a neighbour outside the image
// holds a distinct negative marker that never equals a palette index. A value
// that the rule copies into the block is always a real pixel, so narrowing it
// to a byte on the way out loses nothing.
#include <cstdint>

namespace kernels {

template <typename T>
inline std::uint8_t asIndex(T value) {
    return static_cast<std::uint8_t>(value);
}

// Writes the 2 x 2 block: `upper` is the block's upper row on screen (the
// higher memory row), both pointing at the block's left column.
template <typename T>
inline void writeScale2xBlock(T b, T d, T e, T f, T h, std::uint8_t* upper, std::uint8_t* lower) {
    if (b == h || d == f) {
        upper[0] = upper[1] = lower[0] = lower[1] = asIndex(e);
        return;
    }
    upper[0] = asIndex(d == b ? d : e);
    upper[1] = asIndex(b == f ? f : e);
    lower[0] = asIndex(d == h ? d : e);
    lower[1] = asIndex(h == f ? f : e);
}

// Writes the 3 x 3 block; `top`, `middle`, `bottom` are its rows on screen.
template <typename T>
inline void writeScale3xBlock(T a, T b, T c, T d, T e, T f, T g, T h, T i, std::uint8_t* top,
                              std::uint8_t* middle, std::uint8_t* bottom) {
    if (b == h || d == f) {
        top[0] = top[1] = top[2] = asIndex(e);
        middle[0] = middle[1] = middle[2] = asIndex(e);
        bottom[0] = bottom[1] = bottom[2] = asIndex(e);
        return;
    }
    top[0] = asIndex(d == b ? d : e);
    top[1] = asIndex((d == b && e != c) || (b == f && e != a) ? b : e);
    top[2] = asIndex(b == f ? f : e);
    middle[0] = asIndex((d == b && e != g) || (d == h && e != a) ? d : e);
    middle[1] = asIndex(e);
    middle[2] = asIndex((b == f && e != i) || (h == f && e != c) ? f : e);
    bottom[0] = asIndex(d == h ? d : e);
    bottom[1] = asIndex((d == h && e != i) || (h == f && e != g) ? h : e);
    bottom[2] = asIndex(h == f ? f : e);
}

}  // namespace kernels
