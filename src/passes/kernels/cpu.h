#pragma once
// Whether this processor runs AVX2 code; asked once.
namespace kernels {

inline bool hasAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

}  // namespace kernels
