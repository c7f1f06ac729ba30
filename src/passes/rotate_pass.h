#pragma once
// Nearest-pixel rotation about the centre by the shared angle, shrinking by
// `factor` in the same step (output ceil(w/factor) x ceil(h/factor)).
#include <cstdint>
#include <vector>

#include "passes/pass.h"

class RotatePass : public Pass {
  public:
    // `settings` (angle, wrap-around) is shared by the chain and must outlive the pass.
    RotatePass(int factor, const PassSettings& settings);

    void apply(HWND owner, const IndexedImage& input) override;
    bool readsSettings() const override { return true; }

    float scale;          // 1 / factor as a 32-bit float (1.0 for other factors)
    std::int32_t factor;  // 1, 2, 4, 6 or 8

  private:
    const PassSettings& settings_;
    // Per-column terms dx * cos and dx * sin, sized on first use.
    std::vector<double> columnCos_, columnSin_;
};
