#include "example_run.h"

#include <stdexcept>
#include <string>

#include "example_sprite.h"
#include "passes/pass_kinds.h"

int passKindIndex(std::string_view name) {
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        if (name == passKindNamesNarrow[kind]) return kind;
    }
    throw std::invalid_argument("no pass kind " + std::string(name));
}

ExampleRun::ExampleRun(const manual_layout::ExampleSpot& spot, const std::uint8_t* palette) {
    chain_.setRotationAngle(nullptr, manual_layout::kExampleAngle);
    for (int i = 0; i < spot.flowLength; ++i) {
        chain_.insertPass(nullptr, i, passKindIndex(spot.flow[static_cast<std::size_t>(i)]));
    }
    chain_.setSource(makeExampleSprite(palette));
    chain_.evaluate(nullptr);
}
