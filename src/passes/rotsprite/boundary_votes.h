#pragma once
// The offset search's votes: what the samples of an output row add to the
// boundary costs of the nine moves (Renderer::bestMove), eight samples at a
// time with AVX2 where the processor has it.
#include <array>
#include <cstdint>

#include "passes/rotsprite/enlargement.h"
#include "passes/rotsprite/similar_colours.h"

namespace rotsprite {

// What a range of samples adds to the boundary costs of the nine moves:
// mostly sums over the four 8x pixels the moves share, by where the middle
// move rounds to (4 x 4); by move for samples whose moves reach further.
struct Votes {
    std::array<std::uint64_t, 16> shared{};
    std::array<std::uint64_t, 9> moves{};
};

// The samples edges[0, count) of one output row (at most 32768), whose 8x
// columns and rows with the moves -1, 0, +1 half are columns[k][i] and
// rows[k][i], and whose windows lie in the band: adds the shared sums of as
// many as it takes, eight at a time, and returns how many. It stops before
// eight that hold a sample whose moves reach further, and takes none without
// AVX2: the caller adds the rest one at a time.
int addSharedVotes(const CellView& cells, const SimilarColours& similar,
                   const std::int32_t* const* columns, const std::int32_t* const* rows,
                   const int* edges, int count, Votes& votes);

}  // namespace rotsprite
