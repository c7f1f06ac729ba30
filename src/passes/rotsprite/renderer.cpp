#include "passes/rotsprite/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "passes/rotsprite/quarter_turn.h"

namespace rotsprite {

namespace {

// The moves of every sample the offset search weighs: half an 8x pixel either
// way on each axis, or none (move 4). The samples already sit at the output
// pixels' centres, so larger moves would only shift the picture (by up to half
// an input pixel with the 8 x 8 grid of the original description, which
// more than doubles the round-trip error on our sprites) without avoiding more
// boundaries.
constexpr int kMoves = 9;
constexpr int kStay = 4;
Point moveOf(int m) {
    return {m % 3 - 1, m / 3 - 1};
}
// 8x rows a move and its neighbours reach beyond the sample's own row.
constexpr int kReach = 2;

std::int64_t wrapInto(std::int64_t value, std::int64_t size) {
    const std::int64_t rest = value % size;
    return rest < 0 ? rest + size : rest;
}

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor) {
    return value >= 0 ? value / divisor : -((divisor - 1 - value) / divisor);
}

}  // namespace

int Renderer::bandCount(const IndexedImage& input) const {
    const int rows = input.height * kScale;
    const std::size_t rowBytes = static_cast<std::size_t>(input.width) * kScale;
    const auto perBand = static_cast<int>(std::clamp<std::size_t>(
        options_.bandBytes / rowBytes, kScale, static_cast<std::size_t>(rows)));
    return (rows + perBand - 1) / perBand;
}

Renderer::Band Renderer::band(const IndexedImage& input, int index) const {
    const std::int64_t rows = std::int64_t{input.height} * kScale;
    const int count = bandCount(input);
    return {static_cast<int>(rows * index / count), static_cast<int>(rows * (index + 1) / count)};
}

// The move whose samples land least on boundaries between enlarged pixels:
// each sample adds the palette distances to its four neighbours in the 8x
// picture, which are 0 inside an enlarged area. A move must beat staying put
// by an eighth, so near-ties keep the picture where it is.
Point Renderer::bestMove(const IndexedImage& input) {
    // Most neighbours are alike: no table lookup for them.
    const auto boundary = [this](int a, int b) {
        return a == b ? std::uint32_t{} : similar_.distance(a, b);
    };
    const std::int64_t width8 = std::int64_t{input.width} * kScale;
    const std::int64_t height8 = std::int64_t{input.height} * kScale;
    std::array<std::uint64_t, kMoves> cost{};
    for (int b = 0, bands = bandCount(input); b < bands; ++b) {
        const Band own = band(input, b);
        const RowBand& rows =
            enlargement_.rows(similar_, std::max(own.first - kReach, 0),
                              static_cast<int>(std::min<std::int64_t>(own.last + kReach, height8)));
        for (int j = 0; j < input.height; ++j) {
            for (int i = 0; i < input.width; ++i) {
                // The 8x columns and rows of the moves -1, 0, +1 half on each axis.
                const double x = grid_.x(i, j), y = grid_.y(i, j);
                const std::int64_t xs[3] = {SampleGrid::cell(x, -1), SampleGrid::cell(x, 0),
                                            SampleGrid::cell(x, 1)};
                const std::int64_t ys[3] = {SampleGrid::cell(y, -1), SampleGrid::cell(y, 0),
                                            SampleGrid::cell(y, 1)};
                // Only samples whose every move stays inside vote, so that
                // every move is judged on the same samples.
                if (ys[1] < own.first || ys[1] >= own.last || xs[1] < kReach ||
                    xs[1] + kReach >= width8 || ys[1] < kReach || ys[1] + kReach >= height8) {
                    continue;
                }
                for (int m = 0; m < kMoves; ++m) {
                    const std::int64_t px = xs[m % 3];
                    const auto py = static_cast<int>(ys[m / 3]);
                    const std::uint8_t* here = rows.row(py);
                    const int e = here[px];
                    cost[m] += boundary(e, here[px - 1]) + boundary(e, here[px + 1]) +
                               boundary(e, rows.row(py + 1)[px]) +
                               boundary(e, rows.row(py - 1)[px]);
                }
            }
        }
    }
    int best = kStay;
    for (int m = 0; m < kMoves; ++m) {
        if (cost[m] < cost[best] && cost[m] * 8 <= cost[kStay] * 7) best = m;
    }
    return moveOf(best);
}

void Renderer::sample(const IndexedImage& input, Point move, bool wrap, IndexedImage& output) {
    const std::int64_t width8 = std::int64_t{input.width} * kScale;
    const std::int64_t height8 = std::int64_t{input.height} * kScale;
    for (int b = 0, bands = bandCount(input); b < bands; ++b) {
        const Band own = band(input, b);
        const RowBand& rows = enlargement_.rows(similar_, own.first, own.last);
        for (int j = 0; j < input.height; ++j) {
            std::uint8_t* target = output.row(j);
            for (int i = 0; i < input.width; ++i) {
                Point p = grid_.at(i, j, move);
                const bool inside = p.x >= 0 && p.x < width8 && p.y >= 0 && p.y < height8;
                if (!inside && !wrap) {
                    if (b == 0) target[i] = 0;
                    continue;
                }
                if (!inside) p = {wrapInto(p.x, width8), wrapInto(p.y, height8)};
                if (p.y >= own.first && p.y < own.last) {
                    target[i] = rows.row(static_cast<int>(p.y))[p.x];
                }
            }
        }
    }
}

// A lone input pixel (no four-neighbour shares its index: a highlight, a
// speck, a step of a thin diagonal) that the sampling stepped over comes back
// where its output pixel lies in a flat patch or on a straight edge (three or
// four neighbours alike) and it is not already next to it.
void Renderer::restoreDetails(const IndexedImage& input, bool wrap, IndexedImage& output) {
    const int w = input.width, h = input.height;
    const auto in = [&](std::int64_t x, std::int64_t y) {
        return input.row(static_cast<int>(y))[x];
    };
    const auto out = [&](int i, int j) { return output.row(j)[i]; };
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const Point centre = grid_.at(i, j);
            std::int64_t x = floorDiv(centre.x, kScale), y = floorDiv(centre.y, kScale);
            if (x < 0 || x >= w || y < 0 || y >= h) {
                if (!wrap) continue;
                x = wrapInto(x, w);
                y = wrapInto(y, h);
            }
            const std::uint8_t detail = in(x, y);
            const std::uint8_t own = out(i, j);
            if (detail == own) continue;
            const bool lone =
                (x == 0 || in(x - 1, y) != detail) && (x + 1 == w || in(x + 1, y) != detail) &&
                (y == 0 || in(x, y - 1) != detail) && (y + 1 == h || in(x, y + 1) != detail);
            const int alike = (i > 0 && out(i - 1, j) == own) +
                              (i + 1 < w && out(i + 1, j) == own) +
                              (j > 0 && out(i, j - 1) == own) + (j + 1 < h && out(i, j + 1) == own);
            if (!lone || alike < 3) continue;
            bool nearby = false;
            for (int v = std::max(j - 1, 0); v <= std::min(j + 1, h - 1); ++v) {
                for (int u = std::max(i - 1, 0); u <= std::min(i + 1, w - 1); ++u) {
                    nearby = nearby || out(u, v) == detail;
                }
            }
            if (!nearby) output.row(j)[i] = detail;
        }
    }
}

void Renderer::render(const IndexedImage& input, const PassSettings& settings,
                      IndexedImage& output) {
    const double degrees = settings.angleDegrees;
    const bool wrap = settings.wrapAround != 0;
    if (std::fmod(degrees, 90.0) == 0.0) {
        quarterTurn(input, static_cast<int>(degrees / 90.0), wrap, output);
        return;
    }
    similar_.prepare(input.palette(), options_.similarDistance);
    enlargement_.setInput(input);
    grid_.set(input.width, input.height, settings.angleRadians);
    const Point move = options_.searchOffset ? bestMove(input) : Point{0, 0};
    sample(input, move, wrap, output);
    if (options_.restoreDetails) restoreDetails(input, wrap, output);
}

}  // namespace rotsprite
