#pragma once
// Runs one example of the page through a real PassChain and keeps the chain
// (which owns the result) alive for drawing.
#include <cstdint>
#include <string_view>

#include "manual_layout.h"
#include "passes/pass_chain.h"

// The kind index of a pass kind name; throws std::invalid_argument for others.
int passKindIndex(std::string_view name);

class ExampleRun {
  public:
    // `palette`: the page's 256 RGBQUAD entries, given to the sprite.
    ExampleRun(const manual_layout::ExampleSpot& spot, const std::uint8_t* palette);
    ExampleRun(const ExampleRun&) = delete;
    ExampleRun& operator=(const ExampleRun&) = delete;

    // The flow's result (the sprite itself for an empty flow); null on failure.
    const IndexedImage* result() const { return chain_.displayedImage(); }

  private:
    PassChain chain_;
};
