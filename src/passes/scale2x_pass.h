#pragma once
// Scale2x (AdvMAME2x): each pixel becomes a 2 x 2 block whose corners follow
// agreeing orthogonal neighbours. Outside the image counts as clamped to the edge.
#include "passes/pass.h"

class Scale2xPass : public Pass {
  public:
    void apply(HWND owner, const IndexedImage& input) override;
};
