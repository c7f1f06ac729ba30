#pragma once
// The angle of view k (from 1) of `turns` views around `degrees`: the app's
// turn-table sheets and marlune-cli's --turns turn alike. Kept within 0 to 360;
// whole degrees stay exact.
#include <cmath>

// The most views a turn-table has.
constexpr int kMaxTurns = 64;

inline double turnAngle(double degrees, int k, int turns) {
    return std::fmod(degrees + 360.0 * (k - 1) / turns, 360.0);
}
