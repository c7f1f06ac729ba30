#pragma once
// The first look of the search and of the sampling at one output row: which
// samples lie in a quiet quarter (QuietView::quietAround), where nothing more
// is to be done, and a list of the rest; then the sampling's reading of the
// rest. Eight samples at a time with AVX2 where the processor has it; the
// lists come out in column order either way.
#include <cstdint>

#include "passes/rotsprite/enlargement.h"

namespace rotsprite {

// 8x coordinates [low, low + span) on each axis.
struct Box {
    std::int64_t columnLow, columnSpan, rowLow, rowSpan;
};

// Lists in `edges` the columns i in [0, width) whose sample (columns[i],
// rows[i]) lies in `box`, which lies in the band, and not in a quiet quarter.
// Returns how many.
int listEdgeSamples(const QuietView& cells, const std::int32_t* columns, const std::int32_t* rows,
                    int width, const Box& box, int* edges);

// Where the sample lies in `box` and in a quiet quarter, writes target[i] =
// the input pixel there and, when `marks` is not null, marks[i] = 0. Lists the
// other columns in `others` and returns how many.
int takeQuietSamples(const QuietView& cells, const std::int32_t* columns, const std::int32_t* rows,
                     int width, const Box& box, std::uint8_t* target, std::uint8_t* marks,
                     int* others);

// When every sample i = list[0, 8) lies in `box`, which lies in the band:
// writes target[i] = the 8x pixel there, as CellView::at reads it, and
// returns a bit for each (bit l for list[l]) where the input pixel under the
// sample is another index (only there may a detail lie). Otherwise, or
// without AVX2, writes nothing and returns -1.
int readEightSamples(const CellView& cells, const std::int32_t* columns, const std::int32_t* rows,
                     const int* list, const Box& box, std::uint8_t* target);

}  // namespace rotsprite
