#pragma once
// How the passes split their rows over the threads (base/parallel.h): into
// ranges of at least so many output bytes, below which waking a second thread
// costs about what it saves. Measured on a 2-core machine: Scale2x gained
// nothing from two threads up to 1 MiB of output (60 us), Rotate from 64 KiB
// (100 us) on; waking a thread took tens of microseconds there.
#include <algorithm>
#include <cstdint>

namespace kernels {

// Passes that make output at close to memcpy speed: replications, Scale2x, Scale3x.
inline constexpr std::int64_t kCopyingBytesPerRange = std::int64_t{512} << 10;
// Rotations, which look up each output pixel's source.
inline constexpr std::int64_t kLookingUpBytesPerRange = std::int64_t{32} << 10;

// Rows a range takes when each row makes `bytesPerRow` output bytes.
inline int rowsPerRange(std::int64_t bytesPerRow, std::int64_t bytesPerRange) {
    return static_cast<int>(std::clamp<std::int64_t>(
        bytesPerRange / std::max<std::int64_t>(bytesPerRow, 1), 1, 1 << 30));
}

}  // namespace kernels
