#include "passes/mmpx/magnify.h"

#include <algorithm>
#include <cstring>

#include "passes/kernels/sse2.h"

namespace mmpx {

namespace {

// The 7 x 7 pixels around one, as shown: at(dx, dy) with dy growing downwards.
class Window {
  public:
    Window(const std::uint8_t* centre, std::ptrdiff_t down) {
        for (int dy = -kReach; dy <= kReach; ++dy) {
            std::memcpy(&pixels_[static_cast<std::size_t>((dy + kReach) * kSide)],
                        centre + dy * down - kReach, kSide);
        }
    }
    int at(int dx, int dy) const {
        return pixels_[static_cast<std::size_t>((dy + kReach) * kSide + dx + kReach)];
    }

  private:
    static constexpr int kSide = 2 * kReach + 1;
    std::array<std::uint8_t, kSide * kSide> pixels_;
};

// The output block as shown; a corner by the signs of its offset.
struct Block {
    std::array<std::uint8_t, 4> q;  // upper left, upper right, lower left, lower right
    std::uint8_t& corner(int sx, int sy) { return q[(sy > 0 ? 2 : 0) + (sx > 0 ? 1 : 0)]; }
};

// A turn or mirror g of the plane: (dx, dy) -> (xx dx + xy dy, yx dx + yy dy).
template <int XX, int XY, int YX, int YY>
struct Turn {
    static constexpr int x(int dx, int dy) { return XX * dx + XY * dy; }
    static constexpr int y(int dx, int dy) { return YX * dx + YY * dy; }
};
using Same = Turn<1, 0, 0, 1>;
using MirrorX = Turn<-1, 0, 0, 1>;
using MirrorY = Turn<1, 0, 0, -1>;
using HalfTurn = Turn<-1, 0, 0, -1>;
using RightToDown = Turn<0, -1, 1, 0>;  // (1, 0) -> (0, 1)
using RightToUp = Turn<0, 1, -1, 0>;    // (1, 0) -> (0, -1)
using DownToRight = Turn<0, 1, 1, 0>;   // (0, 1) -> (1, 0)
using DownToLeft = Turn<0, -1, -1, 0>;  // (0, 1) -> (-1, 0)

// The neighbourhood and block seen through g, so that a rule written once, for
// one side or corner, serves all of them.
template <class G>
class Seen {
  public:
    Seen(const Window& window, const Luma& luma, Block& block)
        : window_(window), luma_(luma), block_(block) {}
    int operator()(int dx, int dy) const { return window_.at(G::x(dx, dy), G::y(dx, dy)); }
    std::uint32_t luma(int index) const { return luma_[static_cast<std::size_t>(index)]; }
    std::uint8_t& corner(int sx, int sy) const { return block_.corner(G::x(sx, sy), G::y(sx, sy)); }

  private:
    const Window& window_;
    const Luma& luma_;
    Block& block_;
};

// In the rules, the 3 x 3 neighbours are named as shown
//     A B C
//     D E F
//     G H I
// and P, Q, R, S are two above, left, right and below E.

// 1:1 edge, upper-left corner: where D and B agree and differ from H and F,
// the corner takes them, as in Scale2x; but not to brighten a darker E
// (unless E continues diagonally through A), not on a pixel unlike all its
// diagonal neighbours (a single-pixel feature), and not into the inside of a
// one-pixel-thick corner of D's colour.
template <class G>
void edge(const Seen<G>& n) {
    const int a = n(-1, -1), b = n(0, -1), c = n(1, -1), d = n(-1, 0), e = n(0, 0), f = n(1, 0),
              g = n(-1, 1), h = n(0, 1);
    if (d != b || d == h || d == f) return;
    const bool eLighter = n.luma(e) >= n.luma(d);
    if (!eLighter && e != a) return;
    if (e != a && e != c && e != g) return;
    if (eLighter && a == d && e == n(0, -2) && e == n(-2, 0)) return;
    n.corner(-1, -1) = static_cast<std::uint8_t>(d);
}

// Intersection, to the right: E inside the angle where two thin lines of F's
// colour meet at F (B, F, H alike; C, I, D, Q like E) takes F in its right
// half, unless F's line goes on to the right.
template <class G>
void intersection(const Seen<G>& n) {
    const int e = n(0, 0), f = n(1, 0);
    if (e == f || e != n(1, -1) || e != n(1, 1) || e != n(-1, 0) || e != n(-2, 0)) return;
    if (f != n(0, -1) || f != n(0, 1) || f == n(3, 0)) return;
    n.corner(1, -1) = n.corner(1, 1) = static_cast<std::uint8_t>(f);
}

// Triangle tip, upwards: E at the tip of a triangle of its colour (G, H, I, S
// like E; A, D, C, F not) takes the darker B in its upper half.
template <class G>
void tip(const Seen<G>& n) {
    const int b = n(0, -1), e = n(0, 0);
    if (n.luma(b) >= n.luma(e)) return;
    if (e != n(-1, 1) || e != n(0, 1) || e != n(1, 1) || e != n(0, 2)) return;
    if (e == n(-1, -1) || e == n(-1, 0) || e == n(1, -1) || e == n(1, 0)) return;
    n.corner(-1, -1) = n.corner(1, -1) = static_cast<std::uint8_t>(b);
}

// 2:1 slopes below E, whose H differs from A, E and C: where H's colour runs
// on as G below left and F, R to the right (a shallow step up to the right),
// the lower-left quarter copies the lower-right one, and mirrored.
template <class G>
void slopes(const Seen<G>& n) {
    const int h = n(0, 1);
    if (h == n(-1, -1) || h == n(0, 0) || h == n(1, -1)) return;
    if (h == n(-1, 1) && h == n(1, 0) && h == n(2, 0) && h != n(-1, 0) && h != n(2, -1)) {
        n.corner(-1, 1) = n.corner(1, 1);
    }
    if (h == n(1, 1) && h == n(-1, 0) && h == n(-2, 0) && h != n(1, 0) && h != n(-2, -1)) {
        n.corner(1, 1) = n.corner(-1, 1);
    }
}

// The rules in their published order: later groups overrule earlier ones.
// Within a group the sides never both apply, except 1:1 edges, which write
// different corners.
Block magnifyPixel(const Window& w, const Luma& luma) {
    const auto e = static_cast<std::uint8_t>(w.at(0, 0));
    Block block{{e, e, e, e}};
    const auto seen = [&]<class G>(G) { return Seen<G>(w, luma, block); };
    edge(seen(Same{}));
    edge(seen(MirrorX{}));
    edge(seen(MirrorY{}));
    edge(seen(HalfTurn{}));
    intersection(seen(Same{}));
    intersection(seen(MirrorX{}));
    intersection(seen(RightToDown{}));
    intersection(seen(RightToUp{}));
    tip(seen(Same{}));
    tip(seen(MirrorY{}));
    tip(seen(RightToDown{}));
    tip(seen(RightToUp{}));
    if (w.at(0, 1) != w.at(0, -1)) {
        slopes(seen(Same{}));
        slopes(seen(MirrorY{}));
    }
    if (w.at(1, 0) != w.at(-1, 0)) {
        slopes(seen(DownToLeft{}));
        slopes(seen(DownToRight{}));
    }
    return block;
}

// Sixteen pixels from p on, when no rule changes any of their blocks (fewer
// than two of the four neighbours differ, as in magnifyRow): their blocks
// written, E repeated. False, and nothing written, otherwise.
bool quietRun(const std::uint8_t* p, std::ptrdiff_t down, std::uint8_t* upper,
              std::uint8_t* lower) {
    using namespace kernels::sse2;
    const __m128i e = load(p);
    // Each equal neighbour adds -1: three or four alike make -3 or -4.
    const __m128i alike =
        _mm_add_epi8(_mm_add_epi8(equal(e, load(p - 1)), equal(e, load(p + 1))),
                     _mm_add_epi8(equal(e, load(p - down)), equal(e, load(p + down))));
    if (_mm_movemask_epi8(_mm_cmplt_epi8(alike, _mm_set1_epi8(-2))) != 0xFFFF) return false;
    storeInterleaved2(upper, e, e);
    storeInterleaved2(lower, e, e);
    return true;
}

}  // namespace

Luma lumaOf(const std::uint8_t* palette) {
    Luma luma{};
    for (std::size_t i = 0; i < luma.size(); ++i) {
        const std::uint8_t* quad = palette + 4 * i;  // blue, green, red, reserved
        luma[i] = 299u * quad[2] + 587u * quad[1] + 114u * quad[0];
    }
    return luma;
}

void magnifyRow(const std::uint8_t* row, std::ptrdiff_t down, int width, const Luma& luma,
                std::uint8_t* upper, std::uint8_t* lower) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = row + x;
        if (x % 16 == 0 && x + 16 <= width && quietRun(p, down, upper + 2 * x, lower + 2 * x)) {
            x += 15;
            continue;
        }
        const std::uint8_t e = *p;
        // Every rule that changes a block needs two of E's four neighbours to
        // differ from E (an edge two alike, an intersection three, a tip three;
        // the 2:1 rules only copy what those wrote), so most pixels of flat
        // areas and straight edges are done here.
        const int differing = (p[-1] != e) + (p[1] != e) + (p[-down] != e) + (p[down] != e);
        if (differing < 2) {
            upper[2 * x] = upper[2 * x + 1] = lower[2 * x] = lower[2 * x + 1] = e;
            continue;
        }
        const Block b = magnifyPixel(Window(p, down), luma);
        upper[2 * x] = b.q[0];
        upper[2 * x + 1] = b.q[1];
        lower[2 * x] = b.q[2];
        lower[2 * x + 1] = b.q[3];
    }
}

void PaddedImage::set(const IndexedImage& input) {
    const int w = input.width, h = input.height;
    stride_ = w + 2 * kReach;
    pixels_.resize(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(h + 2 * kReach));
    for (int y = -kReach; y < h + kReach; ++y) {
        const std::uint8_t* source = input.row(std::clamp(y, 0, h - 1));
        std::uint8_t* target = pixels_.data() + static_cast<std::ptrdiff_t>(y + kReach) * stride_;
        std::fill_n(target, kReach, source[0]);
        std::memcpy(target + kReach, source, static_cast<std::size_t>(w));
        std::fill_n(target + kReach + w, kReach, source[w - 1]);
    }
}

}  // namespace mmpx
