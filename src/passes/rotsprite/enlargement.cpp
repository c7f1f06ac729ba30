#include "passes/rotsprite/enlargement.h"

#include <algorithm>
#include <cstring>

#include "base/parallel.h"
#include "passes/kernels/sse2.h"

namespace rotsprite {

namespace {

// Pixels made per range before a second thread pays.
constexpr int kPixelsPerRange = 1 << 15;
// 4x rows whose cells are made from one pass over their 2x rows.
constexpr int kChunkRows = 32;
// Cells made at once while only the quiet quarters are wanted of them.
constexpr std::size_t kQuietBandBytes = std::size_t{4} << 20;

int rowsPerRange(int width) {
    return std::max(kPixelsPerRange / std::max(width, 1), 1);
}

// Scale2x's rule with "similar" for "equal": which of the block's pixels
// take a neighbour's index, as the bits of a Cell. A corner takes it only when
// that differs from the centre's by more than similarity, so an enlargement
// of one colour's near shades keeps the indices it had.
int corners(int b, int d, int e, int f, int h, const SimilarColours& similar) {
    // Equal markers (both outside) also mean no corner can change.
    if (b == h || d == f || similar.similar(b, h) || similar.similar(d, f)) return 0;
    const auto copies = [&](int side, int other) {
        return similar.similar(side, other) && !similar.similar(side, e) ? 1 : 0;
    };
    return copies(d, h) | copies(f, h) << 1 | copies(d, b) << 2 | copies(f, b) << 3;
}

// Calls block(x, b, d, e, f, h) for every pixel of a row, outside neighbours
// given as kOutside; but plain(x) for runs of 16 pixels from x whose blocks
// all stay whole because B = H or D = F, by far the most common case, found
// 16 at a time.
constexpr int kRun = 16;
template <typename Plain, typename Block>
void forEachBlock(const std::uint8_t* above, const std::uint8_t* here, const std::uint8_t* below,
                  int width, Plain plain, Block block) {
    const auto one = [&](int x) {
        const int b = above != nullptr ? above[x] : kOutside;
        const int h = below != nullptr ? below[x] : kOutside;
        const int d = x > 0 ? here[x - 1] : kOutside;
        const int f = x + 1 < width ? here[x + 1] : kOutside;
        block(x, b, d, here[x], f, h);
    };
    int x = 0;
    if (above != nullptr && below != nullptr && width > kRun + 1) {
        one(x++);
        for (; x + kRun <= width - 1; x += kRun) {
            using kernels::sse2::equal;
            using kernels::sse2::load;
            const __m128i whole = _mm_or_si128(equal(load(above + x), load(below + x)),
                                               equal(load(here + x - 1), load(here + x + 1)));
            if (_mm_movemask_epi8(whole) == 0xFFFF) {
                plain(x);
            } else {
                for (int k = x; k < x + kRun; ++k) one(k);
            }
        }
    }
    for (; x < width; ++x) one(x);
}

// Sizes a buffer to exactly `size` elements (a growing vector would double),
// the old block freed first: these are the pass's largest allocations.
template <typename T>
void resizeExactly(std::vector<T>& buffer, std::size_t size) {
    if (buffer.capacity() < size) {
        std::vector<T>().swap(buffer);
        buffer.reserve(size);
    }
    buffer.resize(size);
}

}  // namespace

void Enlargement::scaleRow(const std::uint8_t* above, const std::uint8_t* here,
                           const std::uint8_t* below, int width, std::uint8_t* upper,
                           std::uint8_t* lower, const SimilarColours& similar) {
    const auto plain = [&](int x) {
        const __m128i e = kernels::sse2::load(here + x);
        kernels::sse2::storeInterleaved2(upper + 2 * x, e, e);
        kernels::sse2::storeInterleaved2(lower + 2 * x, e, e);
    };
    forEachBlock(above, here, below, width, plain, [&](int x, int b, int d, int e, int f, int h) {
        const int copied = corners(b, d, e, f, h, similar);
        const auto pick = [&](int bit, int side) {
            return static_cast<std::uint8_t>((copied >> bit & 1) != 0 ? side : e);
        };
        lower[2 * x] = pick(0, d);
        lower[2 * x + 1] = pick(1, f);
        upper[2 * x] = pick(2, d);
        upper[2 * x + 1] = pick(3, f);
    });
}

void Enlargement::cellRow(const std::uint8_t* above, const std::uint8_t* here,
                          const std::uint8_t* below, int width, Cell* cells,
                          const SimilarColours& similar) {
    const auto plain = [&](int x) {
        const __m128i e = kernels::sse2::load(here + x), zero = _mm_setzero_si128();
        kernels::sse2::store(reinterpret_cast<std::uint8_t*>(cells + x),
                             _mm_unpacklo_epi8(e, zero));
        kernels::sse2::store(reinterpret_cast<std::uint8_t*>(cells + x + 8),
                             _mm_unpackhi_epi8(e, zero));
    };
    forEachBlock(above, here, below, width, plain, [&](int x, int b, int d, int e, int f, int h) {
        cells[x] = static_cast<Cell>(e | corners(b, d, e, f, h, similar) << kCornerBit);
    });
}

void Enlargement::setInput(const IndexedImage& input) {
    const auto rowBytes = static_cast<std::size_t>(input.width);
    bool same = input_.width == input.width && input_.height == input.height &&
                std::equal(palette_.begin(), palette_.end(), input.palette());
    for (int y = 0; same && y < input.height; ++y) {
        same = std::memcmp(input_.row(y), input.row(y), rowBytes) == 0;
    }
    if (same) return;
    std::copy_n(input.palette(), kPaletteBytes, palette_.begin());
    input_.width = input.width;
    input_.height = input_.count = input.height;
    // Four bytes can be read at once at any pixel.
    resizeExactly(input_.pixels, rowBytes * static_cast<std::size_t>(input.height) + 3);
    for (int y = 0; y < input.height; ++y) std::memcpy(input_.row(y), input.row(y), rowBytes);
    if (mmpxFirst_) padded_.set(input);
    cells_.count = 0;
    doubled_.count = 0;
    doubledWhole_ = false;
}

// 2x rows [first, last), both even: the blocks of input rows first / 2 on.
void Enlargement::makeDoubled(const SimilarColours& similar, int first, int last) {
    const RowBand& source = input_;
    doubled_.width = 2 * source.width;
    doubled_.height = 2 * source.height;
    doubled_.first = first;
    doubled_.count = last - first;
    resizeExactly(doubled_.pixels, static_cast<std::size_t>(doubled_.count) *
                                       static_cast<std::size_t>(doubled_.width));
    parallel::forRanges(doubled_.count / 2, rowsPerRange(doubled_.width), [&](int from, int to) {
        static const mmpx::Luma kEquallyBright{};
        for (int r = first / 2 + from; r < first / 2 + to; ++r) {
            if (mmpxFirst_) {
                mmpx::magnifyRow(padded_.row(r), -padded_.stride(), source.width, kEquallyBright,
                                 doubled_.row(2 * r + 1), doubled_.row(2 * r));
                continue;
            }
            const std::uint8_t* above = r + 1 < source.height ? source.row(r + 1) : nullptr;
            const std::uint8_t* below = r > 0 ? source.row(r - 1) : nullptr;
            scaleRow(above, source.row(r), below, source.width, doubled_.row(2 * r + 1),
                     doubled_.row(2 * r), similar);
        }
    });
}

void Enlargement::markFlat(const Cell* above, Cell* here, const Cell* below, int width) {
    if (above == nullptr || below == nullptr) return;
    // Nine cells of one index have no corner to copy: a cell copies only a
    // side neighbour unlike it. Cells to the left may have their mark already.
    const auto flat = [&](int x) {
        const Cell centre = here[x] & kCellMade;
        bool alike = true;
        for (int u = x - 1; alike && u <= x + 1; ++u) {
            alike = (above[u] & kCellMade) == centre && (here[u] & kCellMade) == centre &&
                    (below[u] & kCellMade) == centre;
        }
        return alike;
    };
    using namespace kernels::sse2;
    const auto cellsAt = [](const Cell* cells) {
        return _mm_and_si128(load(reinterpret_cast<const std::uint8_t*>(cells)),
                             _mm_set1_epi16(static_cast<short>(kCellMade)));
    };
    int x = 1;
    for (; x + 8 <= width - 1; x += 8) {
        const __m128i centre = cellsAt(here + x);
        __m128i alike = _mm_set1_epi16(-1);
        for (const Cell* row : {above, static_cast<const Cell*>(here), below}) {
            for (int u = -1; u <= 1; ++u) {
                alike = _mm_and_si128(alike, _mm_cmpeq_epi16(cellsAt(row + x + u), centre));
            }
        }
        const __m128i marks = _mm_and_si128(alike, _mm_set1_epi16(1 << kFlatBit));
        store(reinterpret_cast<std::uint8_t*>(here + x), _mm_or_si128(centre, marks));
    }
    for (; x + 1 < width; ++x) {
        if (flat(x)) here[x] |= Cell{1} << kFlatBit;
    }
}

// Cells of 4x rows [first, last), from 2x rows that doubled_ holds. Each range
// works a chunk of rows at a time: the 4x rows it needs, from two below to two
// above, then its cells, and the cells of the rows either side to tell which
// of its own are flat.
void Enlargement::makeCells(const SimilarColours& similar, int first, int last) {
    const RowBand& source = doubled_;
    const int width = 2 * source.width, height = 2 * source.height;
    cells_.width = width;
    cells_.height = height;
    cells_.first = first;
    cells_.count = last - first;
    resizeExactly(cells_.cells,
                  static_cast<std::size_t>(cells_.count) * static_cast<std::size_t>(width) +
                      CellBand::kSlack);
    const int chunks = (cells_.count + kChunkRows - 1) / kChunkRows;
    const int perRange = std::max(rowsPerRange(width) / kChunkRows, 1);
    struct Scratch {
        std::vector<std::uint8_t> rows;  // 4x rows, whole blocks of 2x rows
        std::vector<Cell> below, above;  // the cells of the rows either side
    };
    std::vector<Scratch> scratch(static_cast<std::size_t>(parallel::rangesFor(chunks, perRange)));
    for (Scratch& own : scratch) {
        own.rows.resize(static_cast<std::size_t>(kChunkRows + 6) * width);
        own.below.resize(static_cast<std::size_t>(width));
        own.above.resize(static_cast<std::size_t>(width));
    }
    parallel::forRanges(chunks, perRange, [&](int from, int to, int range) {
        Scratch& own = scratch[static_cast<std::size_t>(range)];
        for (int chunk = from; chunk < to; ++chunk) {
            const int top = std::min(first + (chunk + 1) * kChunkRows, last);
            const int bottom = first + chunk * kChunkRows;
            const int lowest = std::max(bottom - 2, 0) / 2;
            const int highest = std::min(top + 1, height - 1) / 2;
            // 4x row y sits at own.rows + (y - 2 * lowest) * width.
            const auto row4 = [&](int y) -> const std::uint8_t* {
                if (y < 0 || y >= height) return nullptr;
                return own.rows.data() + static_cast<std::size_t>(y - 2 * lowest) * width;
            };
            for (int r = lowest; r <= highest; ++r) {
                const std::uint8_t* above = r + 1 < source.height ? source.row(r + 1) : nullptr;
                const std::uint8_t* below = r > 0 ? source.row(r - 1) : nullptr;
                std::uint8_t* upper =
                    own.rows.data() + static_cast<std::size_t>(2 * (r - lowest) + 1) * width;
                scaleRow(above, source.row(r), below, source.width, upper, upper - width, similar);
            }
            const auto cellsOf = [&](int y, Cell* cells) {
                if (y >= 0 && y < height)
                    cellRow(row4(y + 1), row4(y), row4(y - 1), width, cells, similar);
            };
            Cell* band = cells_.cells.data() + static_cast<std::size_t>(bottom - first) * width;
            cellsOf(bottom - 1, own.below.data());
            cellsOf(top, own.above.data());
            for (int y = bottom; y < top; ++y)
                cellsOf(y, band + static_cast<std::size_t>(y - bottom) * width);
            for (int y = bottom; y < top; ++y) {
                Cell* here = band + static_cast<std::size_t>(y - bottom) * width;
                const Cell* below = y == bottom ? own.below.data() : here - width;
                const Cell* above = y + 1 == top ? own.above.data() : here + width;
                markFlat(y + 1 < height ? above : nullptr, here, y > 0 ? below : nullptr, width);
            }
        }
    });
}

void Enlargement::markQuiet(std::uint64_t* target, int quietFirst, int quietWords) {
    const CellBand& band = cells_;
    const int quarterLow = (band.first + 1) / 2, quarterHigh = (band.first + band.count) / 2;
    const auto flat = [](Cell cell) { return (cell >> kFlatBit & 1) != 0; };
    parallel::forRanges(quarterHigh - quarterLow, rowsPerRange(band.width), [&](int from, int to) {
        for (int q = quarterLow + from; q < quarterLow + to; ++q) {
            const Cell* lower = band.row(2 * q);
            const Cell* upper = band.row(2 * q + 1);
            const std::uint8_t* own = input_.row(q / 2);
            std::uint64_t* words = target + static_cast<std::size_t>(q - quietFirst) * quietWords;
            for (int x = 0; x < band.width / 2; ++x) {
                // Four flat cells side by side are one index. Where similarity
                // is not transitive it might in principle be a neighbour's, and
                // then the input could not stand in for them.
                const Cell cell = lower[2 * x];
                if (flat(cell) && flat(lower[2 * x + 1]) && flat(upper[2 * x]) &&
                    flat(upper[2 * x + 1]) && static_cast<std::uint8_t>(cell) == own[x / 2]) {
                    words[x / 64] |= std::uint64_t{1} << (x % 64);
                }
            }
        }
    });
}

const CellBand& Enlargement::rows(const SimilarColours& similar, int first, int last) {
    if (cells_.holds(first, last)) return cells_;
    const int height4 = 4 * input_.height, height2 = 2 * input_.height;
    const int first4 = first / 2, last4 = (last - 1) / 2 + 1;
    // The 2x rows whose blocks are those 4x rows and two either side, and
    // their own neighbours, in whole blocks of input rows.
    const int lowest2 = std::max(first4 - 2, 0) / 2;
    const int highest2 = std::min(last4 + 1, height4 - 1) / 2;
    const int first2 = std::max(lowest2 - 1, 0) & ~1;
    const int last2 = std::min((highest2 + 2 + 1) & ~1, height2);
    if (!doubled_.holds(first2, last2)) makeDoubled(similar, first2, last2);
    makeCells(similar, first4, last4);
    cells_.input = &input_;
    cells_.quietFirst = first4 / 2;
    cells_.quietWords = (cells_.width / 2 + 63) / 64;
    const int quarters = (last4 + 1) / 2 - cells_.quietFirst;
    resizeExactly(cells_.quiet, static_cast<std::size_t>(quarters) * cells_.quietWords);
    std::fill(cells_.quiet.begin(), cells_.quiet.end(), std::uint64_t{0});
    markQuiet(cells_.quiet.data(), cells_.quietFirst, cells_.quietWords);
    // Held whole, the cells are all an angle tick needs.
    if (first4 == 0 && last4 == height4) {
        doubled_.count = 0;
        std::vector<std::uint8_t>().swap(doubled_.pixels);
        std::vector<Cell>().swap(doubledCells_);
        std::vector<std::uint64_t>().swap(quiet_);
    }
    return cells_;
}

DoubledView Enlargement::doubled(const SimilarColours& similar) {
    const int width2 = 2 * input_.width, height2 = 2 * input_.height, height4 = 4 * input_.height;
    const int quietWords = (4 * input_.width / 2 + 63) / 64;
    if (!doubledWhole_) {
        makeDoubled(similar, 0, height2);
        resizeExactly(quiet_, static_cast<std::size_t>(height4 / 2) * quietWords);
        std::fill(quiet_.begin(), quiet_.end(), std::uint64_t{0});
        // Bands of whole quarter rows, a few MiB of cells each.
        const std::size_t rowBytes = sizeof(Cell) * 4 * static_cast<std::size_t>(input_.width);
        const int perBand =
            2 * static_cast<int>(std::max<std::size_t>(kQuietBandBytes / rowBytes / 2, 1));
        for (int first = 0; first < height4; first += perBand) {
            makeCells(similar, first, std::min(first + perBand, height4));
            markQuiet(quiet_.data(), 0, quietWords);
        }
        cells_.count = 0;
        std::vector<Cell>().swap(cells_.cells);
        resizeExactly(doubledCells_, static_cast<std::size_t>(width2) * height2);
        parallel::forRanges(height2, rowsPerRange(width2), [&](int from, int to) {
            for (int y = from; y < to; ++y) {
                cellRow(y + 1 < height2 ? doubled_.row(y + 1) : nullptr, doubled_.row(y),
                        y > 0 ? doubled_.row(y - 1) : nullptr, width2,
                        doubledCells_.data() + static_cast<std::size_t>(y) * width2, similar);
            }
        });
        doubled_.count = 0;
        std::vector<std::uint8_t>().swap(doubled_.pixels);
        doubledWhole_ = true;
    }
    return {{quiet_.data(), 0, quietWords, input_.pixels.data(), input_.width},
            doubledCells_.data(),
            width2,
            height2,
            &similar};
}

std::uint8_t DoubledView::corner(std::int64_t x, std::int64_t y, int b, int d, int e, int f,
                                 int h) const {
    const int copied = corners(b, d, e, f, h, *similar);
    const int right = static_cast<int>(x & 1);
    if ((copied >> (2 * (y & 1) + right) & 1) == 0) return static_cast<std::uint8_t>(e);
    return static_cast<std::uint8_t>(right != 0 ? f : d);
}

}  // namespace rotsprite
