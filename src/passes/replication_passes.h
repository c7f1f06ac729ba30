#pragma once
// Enlargements that copy pixels without looking at neighbours. New pixels take
// palette index 0.
#include "passes/pass.h"

// Every pixel becomes a 2 x 2 block (output 2w x 2h).
class Zoom2xPass : public Pass {
  public:
    void apply(HWND owner, const IndexedImage& input) override;
};

// Every pixel becomes a 3 x 3 block (output 3w x 3h).
class Zoom3xPass : public Pass {
  public:
    void apply(HWND owner, const IndexedImage& input) override;
};

// The image in the middle of a doubled canvas, offset by (w/2, h/2) in memory
// coordinates; the margin is index 0 (output 2w x 2h).
class Canvas2xPass : public Pass {
  public:
    void apply(HWND owner, const IndexedImage& input) override;
};

// Each pixel at the upper left (on screen) of its 2 x 2 cell, the other three
// index 0 (output 2w x 2h).
class Space2xPass : public Pass {
  public:
    void apply(HWND owner, const IndexedImage& input) override;
};
