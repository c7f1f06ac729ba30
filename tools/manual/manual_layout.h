#pragma once
// Where things are on the manual page. The generator draws from these numbers
// and the format test reads the committed page back at the same places.
#include <array>
#include <string_view>

namespace manual_layout {

constexpr int kPageWidth = 600;
constexpr int kPageHeight = 1880;
constexpr int kMargin = 24;

// Horizontal bands of the page, top to bottom, each with its own content.
struct Band {
    std::string_view name;
    int top;
    int bottom;  // exclusive
};
inline constexpr std::array<Band, 6> kBands = {{
    {"title", 0, 118},
    {"about", 118, 306},
    {"window", 306, 990},
    {"examples", 990, 1462},
    {"rotsprite", 1462, 1662},
    {"usage", 1662, 1856},
}};

// Every example rotates by this many degrees, without wrap-around.
constexpr int kExampleAngle = 30;

// One example picture: the sprite run through `flow` (pass kind names, first
// to last; none shows the sprite itself), drawn with its top-left pixel at
// (x, y) and every image pixel as a zoom x zoom block.
struct ExampleSpot {
    std::array<std::string_view, 4> flow;
    int flowLength;
    int x;
    int y;
    int zoom;
};

constexpr int kColumn0 = kMargin;
constexpr int kColumnStep = 112;
constexpr int kScalingRow = 1078;
constexpr int kTripleRow = 1192;
constexpr int kRotationRow = 1372;
constexpr int kRotationStep = 94;
constexpr int kRotationColumn0 = kColumn0;

inline constexpr std::array<ExampleSpot, 14> kExampleSpots = {{
    {{}, 0, kColumn0, kScalingRow, 2},
    {{"Zoom2x"}, 1, kColumn0 + kColumnStep, kScalingRow, 2},
    {{"Scale2x"}, 1, kColumn0 + 2 * kColumnStep, kScalingRow, 2},
    {{"Canvas2x"}, 1, kColumn0 + 3 * kColumnStep, kScalingRow, 2},
    {{"Space2x"}, 1, kColumn0 + 4 * kColumnStep, kScalingRow, 2},
    {{"Zoom3x"}, 1, kColumn0, kTripleRow, 2},
    {{"Scale3x"}, 1, kColumn0 + kColumnStep, kTripleRow, 2},
    {{"MMPX2x"}, 1, kColumn0 + 2 * kColumnStep, kTripleRow, 2},
    {{"Rotate"}, 1, kRotationColumn0, kRotationRow, 3},
    {{"Scale2x", "RotateUnzoom2x"}, 2, kRotationColumn0 + kRotationStep, kRotationRow, 3},
    {{"Scale2x", "Scale2x", "RotateUnzoom4x"},
     3,
     kRotationColumn0 + 2 * kRotationStep,
     kRotationRow,
     3},
    {{"Scale3x", "Scale2x", "RotateUnzoom6x"},
     3,
     kRotationColumn0 + 3 * kRotationStep,
     kRotationRow,
     3},
    {{"Scale2x", "Scale2x", "Scale2x", "RotateUnzoom8x"},
     4,
     kRotationColumn0 + 4 * kRotationStep,
     kRotationRow,
     3},
    {{"RotSprite"}, 1, kRotationColumn0 + 5 * kRotationStep, kRotationRow, 3},
}};

// The highlighted note compares a plain rotation with the RotSprite-style flow
// (kNoteFlow, also in the window sketch's preview) and the RotSprite pass.
constexpr int kNoteImageRow = 1550;
constexpr int kNoteZoom = 4;
constexpr std::size_t kNoteFlow = 2;
inline constexpr std::array<ExampleSpot, 4> kNoteSpots = {{
    {{}, 0, 52, kNoteImageRow, kNoteZoom},
    {{"Rotate"}, 1, 184, kNoteImageRow, kNoteZoom},
    {{"Scale2x", "Scale2x", "Scale2x", "RotateUnzoom8x"}, 4, 316, kNoteImageRow, kNoteZoom},
    {{"RotSprite"}, 1, 448, kNoteImageRow, kNoteZoom},
}};

}  // namespace manual_layout
