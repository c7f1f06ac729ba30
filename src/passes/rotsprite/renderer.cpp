#include "passes/rotsprite/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "base/parallel.h"
#include "passes/rotsprite/outline.h"
#include "passes/rotsprite/quarter_turn.h"
#include "passes/rotsprite/quiet_samples.h"

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

// How far ahead in a list of samples the cells they read are asked for.
constexpr int kAhead = 8;

// Output pixels a range of rows takes before a second thread pays.
constexpr int kPixelsPerRange = 4096;

int rowsPerRange(int width) {
    return std::max(kPixelsPerRange / std::max(width, 1), 1);
}

// Whether the input pixel under an output pixel's centre (an 8x pixel) is a
// lone one (no four-neighbour shares its index: a highlight, a speck, a step
// of a thin diagonal) that the sampling stepped over.
// Inlined, and the input pixel found by shifts (rounding down, negative
// coordinates too): it runs for most output pixels of a moved sampling.
inline bool isDetail(const QuietView& cells, int w, int h, Point centre, std::uint8_t own,
                     bool wrap) {
    std::int64_t x = centre.x >> kLevels, y = centre.y >> kLevels;
    if (x < 0 || x >= w || y < 0 || y >= h) {
        if (!wrap) return false;
        x = wrapInto(x, w);
        y = wrapInto(y, h);
    }
    const std::uint8_t* here = cells.input + y * cells.inputWidth + x;
    const std::uint8_t detail = *here;
    return detail != own && (x == 0 || here[-1] != detail) && (x + 1 == w || here[1] != detail) &&
           (y == 0 || here[-cells.inputWidth] != detail) &&
           (y + 1 == h || here[cells.inputWidth] != detail);
}

}  // namespace

Renderer::Renderer(Options options) : options_(options), enlargement_(options.mmpxFirstDoubling) {
    options_.searchOffset = options_.searchOffset && !options_.holdDoubled;
}

Renderer::~Renderer() = default;

void Renderer::prepareScratch(int ranges, int width) {
    if (scratch_.size() < static_cast<std::size_t>(ranges)) scratch_.resize(ranges);
    const auto size = static_cast<std::size_t>(width);
    for (RowScratch& rows : scratch_) {
        for (int k = 0; k < 3; ++k) {
            rows.columns[k].resize(size);
            rows.rows[k].resize(size);
        }
        rows.pixels.resize(size + 8);  // lists are written eight at a time
    }
}

int Renderer::bandCount(const IndexedImage& input) const {
    const int rows = input.height * kScale;
    // A cell (two bytes) a 4x pixel, two 8x rows a 4x row.
    const std::size_t rowBytes = static_cast<std::size_t>(input.width) * (kScale / 2);
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
    const std::int64_t height8 = std::int64_t{input.height} * kScale;
    const int perRange = rowsPerRange(input.width);
    const int ranges = parallel::rangesFor(input.height, perRange);
    votes_.assign(static_cast<std::size_t>(ranges), Votes{});
    prepareScratch(ranges, input.width);
    for (int b = 0, bands = bandCount(input); b < bands; ++b) {
        const Band own = band(input, b);
        const CellBand& cells =
            enlargement_.rows(similar_, std::max(own.first - kReach, 0),
                              static_cast<int>(std::min<std::int64_t>(own.last + kReach, height8)));
        parallel::forRanges(input.height, perRange, [&](int first, int last, int range) {
            const auto r = static_cast<std::size_t>(range);
            searchRows(cells, own, first, last, votes_[r], scratch_[r]);
        });
    }
    std::array<std::uint64_t, kMoves> cost{};
    for (const Votes& part : votes_) {
        for (int m = 0; m < kMoves; ++m) {
            cost[m] += part.moves[m];
            // Where the middle move rounds to, on each axis (0 or 1 beyond the first).
            for (int middle = 0; middle < 4; ++middle) {
                const int dx[3] = {0, middle & 1, 1}, dy[3] = {0, middle >> 1, 1};
                cost[m] +=
                    part.shared[static_cast<std::size_t>(4 * middle + 2 * dy[m / 3] + dx[m % 3])];
            }
        }
    }
    int best = kStay;
    for (int m = 0; m < kMoves; ++m) {
        if (cost[m] < cost[best] && cost[m] * 8 <= cost[kStay] * 7) best = m;
    }
    return moveOf(best);
}

// The samples of output rows [first, last) whose 8x row lies in the band.
void Renderer::searchRows(const CellBand& band, Band own, int first, int last, Votes& votes,
                          RowScratch& scratch) const {
    const CellView cells = band.view();
    // A lookup even for alike neighbours (distance 0): whether they are is
    // too irregular to branch on.
    const auto boundary = [this](int a, int b) { return similar_.distance(a, b); };
    const auto around = [&](std::int64_t x, std::int64_t y) {
        const int e = cells.at(x, y);
        return boundary(e, cells.at(x - 1, y)) + boundary(e, cells.at(x + 1, y)) +
               boundary(e, cells.at(x, y + 1)) + boundary(e, cells.at(x, y - 1));
    };
    // Only samples whose every move stays inside vote, so that every move is
    // judged on the same samples: columns and rows [low, low + span).
    const std::int64_t width8 = std::int64_t{band.width} * 2;
    const std::int64_t height8 = std::int64_t{band.height} * 2;
    const std::int64_t rowLow = std::max<std::int64_t>(own.first, kReach);
    const Box voters{kReach, width8 - 2 * kReach, rowLow,
                     std::min<std::int64_t>(own.last, height8 - kReach) - rowLow};
    if (voters.columnSpan <= 0 || voters.rowSpan <= 0) return;
    const int width = band.width / 4;
    std::int32_t* const columns = scratch.columns[1].data();
    std::int32_t* const rows = scratch.rows[1].data();
    int* const edges = scratch.pixels.data();
    // The moves -1, 0, +1 half on both axes, made together.
    static constexpr int kHalves[3] = {-1, 0, 1};
    std::int32_t* const columnsOf[3] = {scratch.columns[0].data(), columns,
                                        scratch.columns[2].data()};
    std::int32_t* const rowsOf[3] = {scratch.rows[0].data(), rows, scratch.rows[2].data()};
    for (int j = first; j < last; ++j) {
        grid_.cellsOfRow(j, kHalves, kHalves, 3, columnsOf, rowsOf);
        // The samples that vote and do not lie in a quiet quarter.
        const int count = listEdgeSamples(cells, columns, rows, width, voters, edges);
        // Of those, the ones whose cell is not flat either.
        // The cells those samples read are seldom in the cache: each list asks
        // for the cells of the sample kAhead places on before it reads its own.
        int edgeCount = 0;
        for (int k = 0; k < count; ++k) {
            if (k + kAhead < count) {
                const int ahead = edges[k + kAhead];
                cells.prefetch(columns[ahead] >> 1, rows[ahead] >> 1);
            }
            const int i = edges[k];
            edges[edgeCount] = i;
            edgeCount += cells.flatAround(columns[i], rows[i]) ? 0 : 1;
        }
        const int taken =
            addSharedVotes(cells, similar_, columnsOf, rowsOf, edges, edgeCount, votes);
        for (int k = taken; k < edgeCount; ++k) {
            if (k + kAhead < edgeCount) {
                // The window's three rows of cells (its corners reach two 8x rows out).
                const int ahead = edges[k + kAhead];
                const std::int64_t x4 = (columns[ahead] >> 1) - 1, y4 = rows[ahead] >> 1;
                for (std::int64_t y = y4 - 1; y <= y4 + 1; ++y) cells.prefetch(x4, y);
            }
            const int i = edges[k];
            const std::int64_t column = columns[i], row = rows[i];
            // The 8x columns and rows of the moves -1, 0, +1 half on each axis.
            const std::int64_t xs[3] = {scratch.columns[0][i], column, scratch.columns[2][i]};
            const std::int64_t ys[3] = {scratch.rows[0][i], row, scratch.rows[2][i]};
            const std::int64_t x0 = xs[0], y0 = ys[0];
            if (xs[2] - x0 != 1 || ys[2] - y0 != 1) {
                // A rounding at a half made the moves reach further: each alone.
                for (int m = 0; m < kMoves; ++m) votes.moves[m] += around(xs[m % 3], ys[m / 3]);
                continue;
            }
            // Otherwise the moves share four 8x pixels, x0 or x0 + 1 by y0 or
            // y0 + 1 (the middle move takes the one its rounding picks), which
            // with their neighbours are the pixels of rows y0 - 1 .. y0 + 2 and
            // columns x0 - 1 .. x0 + 2 but the corners.
            int v[4][4];
            for (int r = 0; r < 4; ++r) {
                const std::int64_t y = y0 - 1 + r;
                const Cell* line = cells.row(y >> 1);
                const int upper = static_cast<int>(y & 1) << 1;
                const auto at = [&](int c) { v[r][c] = CellView::at(line, x0 - 1 + c, upper); };
                if (r == 1 || r == 2) at(0), at(3);
                at(1), at(2);
            }
            std::uint64_t* sums =
                &votes.shared[static_cast<std::size_t>(4 * (2 * (ys[1] - y0) + (xs[1] - x0)))];
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const int e = v[1 + dy][1 + dx];
                    sums[2 * dy + dx] +=
                        boundary(e, v[1 + dy][dx]) + boundary(e, v[1 + dy][2 + dx]) +
                        boundary(e, v[dy][1 + dx]) + boundary(e, v[2 + dy][1 + dx]);
                }
            }
        }
    }
}

void Renderer::sample(const IndexedImage& input, Point move, bool wrap, IndexedImage& output) {
    if (options_.restoreDetails) {
        details_.resize(static_cast<std::size_t>(input.width) *
                        static_cast<std::size_t>(input.height));
    }
    const int perRange = rowsPerRange(input.width);
    prepareScratch(parallel::rangesFor(input.height, perRange), input.width);
    const auto sampleBand = [&](const auto& cells, Band own, bool firstBand) {
        parallel::forRanges(input.height, perRange, [&](int first, int last, int range) {
            sampleRows(input, cells, own, firstBand, move, wrap, first, last, output,
                       scratch_[static_cast<std::size_t>(range)]);
        });
    };
    if (options_.holdDoubled && bandCount(input) > 1) {
        sampleBand(enlargement_.doubled(similar_), {0, input.height * kScale}, true);
        return;
    }
    for (int b = 0, bands = bandCount(input); b < bands; ++b) {
        const Band own = band(input, b);
        sampleBand(enlargement_.rows(similar_, own.first, own.last).view(), own, b == 0);
    }
}

// Output rows [first, last): every pixel whose sample lies in the band, and
// in the first band those outside the input. Each pixel is written once, and
// then it is also told whether a detail may come back there.
template <typename View>
void Renderer::sampleRows(const IndexedImage& input, const View& cells, Band own, bool firstBand,
                          Point move, bool wrap, int first, int last, IndexedImage& output,
                          RowScratch& scratch) {
    const int width = input.width, height = input.height;
    const std::int64_t width8 = std::int64_t{width} * kScale;
    const std::int64_t height8 = std::int64_t{height} * kScale;
    std::int32_t* const columns = scratch.columns[0].data();
    std::int32_t* const rows = scratch.rows[0].data();
    // The centres: where the details are found.
    const bool moved = move.x != 0 || move.y != 0;
    const std::int32_t* const centreColumns = moved ? scratch.columns[1].data() : columns;
    const std::int32_t* const centreRows = moved ? scratch.rows[1].data() : rows;
    std::uint8_t* const details = options_.restoreDetails ? details_.data() : nullptr;
    const int halvesX[2] = {static_cast<int>(move.x), 0},
              halvesY[2] = {static_cast<int>(move.y), 0};
    std::int32_t* const columnsOf[2] = {columns, scratch.columns[1].data()};
    std::int32_t* const rowsOf[2] = {rows, scratch.rows[1].data()};
    for (int j = first; j < last; ++j) {
        grid_.cellsOfRow(j, halvesX, halvesY, details != nullptr && moved ? 2 : 1, columnsOf,
                         rowsOf);
        std::uint8_t* const target = output.row(j);
        std::uint8_t* const marks =
            details != nullptr ? details + static_cast<std::ptrdiff_t>(j) * width : nullptr;
        const auto mark = [&](int i) {
            if (marks != nullptr) {
                marks[i] = isDetail(cells, width, height, {centreColumns[i], centreRows[i]},
                                    target[i], wrap);
            }
        };
        // First the samples in a quiet quarter of the band: the input pixel
        // there (not moved, its centre is that pixel: no detail). The others
        // are listed.
        int* const others = scratch.pixels.data();
        const Box band{0, width8, own.first, own.last - own.first};
        const int count = takeQuietSamples(cells, columns, rows, width, band, target,
                                           moved ? nullptr : marks, others);
        if (moved) {
            for (int i = 0, k = 0; i < width; ++i) {
                if (k < count && others[k] == i) {
                    ++k;
                } else {
                    mark(i);
                }
            }
        }
        const auto prefetch = [&](int k) {
            const int ahead = others[k];
            const std::int64_t x = std::clamp<std::int64_t>(columns[ahead], 0, width8 - 1);
            const std::int64_t y = std::clamp<std::int64_t>(rows[ahead], own.first, own.last - 1);
            cells.prefetchPixel(x, y);
        };
        const auto sampleOne = [&](int k) {
            if (k + kAhead < count) prefetch(k + kAhead);
            const int i = others[k];
            std::int64_t x = columns[i], y = rows[i];
            const bool inside = x >= 0 && x < width8 && y >= 0 && y < height8;
            if (!inside && !wrap) {
                if (!firstBand) return;
                target[i] = 0;
            } else {
                if (!inside) {
                    x = wrapInto(x, width8);
                    y = wrapInto(y, height8);
                }
                if (y < own.first || y >= own.last) return;
                target[i] = cells.at(x, y);
            }
            mark(i);
        };
        for (int k = 0; k < count;) {
            if constexpr (std::is_same_v<View, CellView>) {
                // Eight at once where all lie in the band; unmoved, each is
                // its own centre, and a detail only where the input differs.
                const int unlike =
                    moved || k + 8 > count
                        ? -1
                        : readEightSamples(cells, columns, rows, others + k, band, target);
                if (unlike >= 0) {
                    for (int l = k + kAhead; l < std::min(k + 2 * kAhead, count); ++l) prefetch(l);
                    for (int l = 0; l < 8 && marks != nullptr; ++l) {
                        marks[others[k + l]] = 0;
                        if ((unlike >> l & 1) != 0) mark(others[k + l]);
                    }
                    k += 8;
                    continue;
                }
            }
            sampleOne(k++);
        }
    }
}

// A lone input pixel that the sampling stepped over comes back where its
// output pixel lies in a flat patch or on a straight edge (three or four
// neighbours alike) and it is not already next to it. In row order, one pixel
// at a time: each looks at its neighbours as the ones before it left them.
void Renderer::restoreDetails(const IndexedImage& input, bool wrap, IndexedImage& output) {
    const int w = input.width, h = input.height;
    const auto out = [&](int i, int j) { return output.row(j)[i]; };
    for (int j = 0; j < h; ++j) {
        const std::uint8_t* details = details_.data() + static_cast<std::size_t>(j) * w;
        for (int i = 0; i < w; ++i) {
            // Few pixels are marked: skip to the next.
            const void* next = std::memchr(details + i, 1, static_cast<std::size_t>(w - i));
            if (next == nullptr) break;
            i = static_cast<int>(static_cast<const std::uint8_t*>(next) - details);
            const Point centre = grid_.at(i, j);
            std::int64_t x = centre.x >> kLevels, y = centre.y >> kLevels;
            if (wrap) {
                x = wrapInto(x, w);
                y = wrapInto(y, h);
            }
            const std::uint8_t detail = input.row(static_cast<int>(y))[x];
            const std::uint8_t own = out(i, j);
            const int alike = (i > 0 && out(i - 1, j) == own) +
                              (i + 1 < w && out(i + 1, j) == own) +
                              (j > 0 && out(i, j - 1) == own) + (j + 1 < h && out(i, j + 1) == own);
            if (alike < 3) continue;
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
    if (options_.redrawOutlines && renderOutlined(input, settings, output)) return;
    similar_.prepare(input.palette(), options_.similarDistance);
    enlargement_.setInput(input);
    grid_.set(input.width, input.height, settings.angleRadians);
    const Point move = options_.searchOffset ? bestMove(input) : Point{0, 0};
    sample(input, move, wrap, output);
    if (options_.restoreDetails) restoreDetails(input, wrap, output);
}

// The samples sit at the pixels' centres: the offset search, which moves them
// off boundaries between enlarged pixels, leaves both turns no closer to a
// redrawn outline (marlune_quality measures it) and would cost twice.
bool Renderer::renderOutlined(const IndexedImage& input, const PassSettings& settings,
                              IndexedImage& output) {
    const auto pixels = static_cast<std::size_t>(input.width) * input.height;
    bool same = outlinedInput_.size() == pixels + kPaletteBytes &&
                std::equal(input.palette(), input.palette() + kPaletteBytes, outlinedInput_.data());
    for (int y = 0; same && y < input.height; ++y) {
        same = std::equal(input.row(y), input.row(y) + input.width,
                          outlinedInput_.data() + kPaletteBytes + std::size_t{1} * y * input.width);
    }
    if (!same) {
        outlinedInput_.resize(pixels + kPaletteBytes);
        std::copy_n(input.palette(), kPaletteBytes, outlinedInput_.data());
        for (int y = 0; y < input.height; ++y) {
            std::copy_n(input.row(y), input.width,
                        outlinedInput_.data() + kPaletteBytes + std::size_t{1} * y * input.width);
        }
        outline_ = outlineIndex(input);
        // One way of turning holds its enlargements at a time, within the budget.
        if (outline_ < 0) {
            shapeRenderer_.reset();
            colourRenderer_.reset();
        } else {
            enlargement_ = Enlargement(options_.mmpxFirstDoubling);
            bare_ =
                std::make_unique<IndexedImage>(nullptr, input.width, input.height, input.palette());
            shape_ =
                std::make_unique<IndexedImage>(nullptr, input.width, input.height, input.palette());
            removeOutline(input, static_cast<std::uint8_t>(outline_), *bare_);
            markClosedOutline(input, static_cast<std::uint8_t>(outline_), closed_);
        }
    }
    if (outline_ < 0) return false;
    if (!shapeRenderer_) {
        // Both enlargements held whole, so an angle tick only samples: as
        // cells up to about 800 x 800, beyond as 2x pictures' cells; at
        // 1024 x 1024 the pass then holds about 30 MiB.
        Options own = options_;
        own.searchOffset = false;
        own.redrawOutlines = false;
        own.holdDoubled = true;
        own.bandBytes = options_.bandBytes / 2;
        colourRenderer_ = std::make_unique<Renderer>(own);
        own.mmpxFirstDoubling = options_.mmpxShape;
        shapeRenderer_ = std::make_unique<Renderer>(own);
    }
    colourRenderer_->render(*bare_, settings, output);
    shapeRenderer_->render(input, settings, *shape_);
    const auto outline = static_cast<std::uint8_t>(outline_);
    joinShapeAndColours(*shape_, outline, output, boundary_);
    grid_.set(input.width, input.height, settings.angleRadians);
    redrawOutline(input, outline, closed_, grid_, settings.wrapAround != 0, output, boundary_);
    return true;
}

}  // namespace rotsprite
