#pragma once
// RotSprite: turns by the shared angle like Rotate, keeping the size, but
// through an 8x enlargement that smooths lines and keeps single-pixel details,
// and draws a one-colour outline again unbroken (rotsprite/renderer.h).
// Writes only input indices, or 0 outside the input.
#include "passes/pass.h"
#include "passes/rotsprite/renderer.h"

class RotSpritePass : public Pass {
  public:
    // `settings` (angle, wrap-around) is shared by the chain and must outlive the pass.
    explicit RotSpritePass(const PassSettings& settings) : settings_(settings) {}

    void apply(HWND owner, const IndexedImage& input) override;
    bool readsSettings() const override { return true; }

  private:
    const PassSettings& settings_;
    rotsprite::Renderer renderer_;
};
