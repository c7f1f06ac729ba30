#pragma once
// The transformation interface. A pass makes its output on its first apply,
// from that input's size and palette, and then reuses it; the chain drops it
// whenever the pass's input may change size.
#include <memory>

#include "image/indexed_image.h"

// Settings shared by every pass of a chain (only rotation passes read them).
struct PassSettings {
    std::uint8_t wrapAround = 0;
    double angleDegrees = 0.0;  // as set: whole from the slider, or typed
    double angleRadians = 0.0;
};

class Pass {
  public:
    virtual ~Pass() = default;

    // Writes the output from `input`, which is only read. Writes nothing when
    // the output image could not be made (not `valid`).
    virtual void apply(HWND owner, const IndexedImage& input) = 0;

    // True when apply reads the shared settings, so a settings change alone
    // makes its output stale.
    virtual bool readsSettings() const { return false; }

    std::unique_ptr<IndexedImage> output;

  protected:
    // The output to write, made at width x height with the input's palette when
    // there is none yet; null when its section could not be made.
    IndexedImage* outputFor(HWND owner, const IndexedImage& input, int width, int height);
};
