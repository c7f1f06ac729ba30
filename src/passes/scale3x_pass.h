#pragma once
// Scale3x (AdvMAME3x): each pixel becomes a 3 x 3 block whose centre is the
// pixel and whose corners and edge middles follow diagonal edges.
#include "passes/pass.h"

class Scale3xPass : public Pass {
  public:
    void apply(HWND owner, const IndexedImage& input) override;
};
