#pragma once
// How the passes split their rows over the threads (base/parallel.h): into
// ranges of at least so many output bytes, below which waking a second thread
// costs about what it saves. Measured with marlune_bench (one thread against
// all, 64 x 64 to 2048 x 2048).
#include <algorithm>
#include <cstdint>

namespace kernels {

// Passes that make output at close to memcpy speed: replications, Scale2x, Scale3x.
inline constexpr std::int64_t kCopyingBytesPerRange = std::int64_t{128} << 10;
// Rotations, which look up each output pixel's source.
inline constexpr std::int64_t kLookingUpBytesPerRange = std::int64_t{16} << 10;

// Rows a range takes when each row makes `bytesPerRow` output bytes.
inline int rowsPerRange(std::int64_t bytesPerRow, std::int64_t bytesPerRange) {
    return static_cast<int>(std::clamp<std::int64_t>(
        bytesPerRange / std::max<std::int64_t>(bytesPerRow, 1), 1, 1 << 30));
}

}  // namespace kernels
