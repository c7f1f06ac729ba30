#pragma once
// Whether the kernels use AVX2: when this processor runs it (asked once) and
// it is allowed. Tests disallow it to hold the SSE2 code to the same
// references on machines that have AVX2.
#include <atomic>

namespace kernels {

inline std::atomic<bool>& avx2Allowed() {
    static std::atomic<bool> allowed{true};
    return allowed;
}

inline bool hasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported && avx2Allowed().load(std::memory_order_relaxed);
}

}  // namespace kernels
