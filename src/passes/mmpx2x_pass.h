#pragma once
// MMPX2x: each pixel becomes a 2 x 2 block by the MMPX rules (mmpx/magnify.h),
// which keep one-pixel details and sharp corners that Scale2x rounds off and
// draw 2:1 slopes smoothly. Writes only input indices.
#include "passes/mmpx/magnify.h"
#include "passes/pass.h"

class Mmpx2xPass : public Pass {
  public:
    void apply(HWND owner, const IndexedImage& input) override;

  private:
    mmpx::PaddedImage padded_;  // kept, so a rerun at the same size allocates nothing
};
