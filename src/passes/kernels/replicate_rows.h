#pragma once
// Row kernels of the replication passes. Each reads `width` source bytes and
// writes exactly the output bytes named, never a row's padding.
#include <cstdint>

namespace kernels {

// out[2x] = out[2x + 1] = in[x]: 2 * width bytes.
void doubleRow(const std::uint8_t* in, std::uint8_t* out, int width);
// out[3x] = out[3x + 1] = out[3x + 2] = in[x]: 3 * width bytes.
void tripleRow(const std::uint8_t* in, std::uint8_t* out, int width);
// out[2x] = in[x], out[2x + 1] = 0: 2 * width bytes.
void spreadRow(const std::uint8_t* in, std::uint8_t* out, int width);

}  // namespace kernels
