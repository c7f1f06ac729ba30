#include "sample_sprite.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace {

// Palette entries by role; 0 is the transparent index of the upper layer.
enum Colour : std::uint8_t {
    Clear = 0,
    Outline,
    ArmourDark,
    ArmourMid,
    ArmourLight,
    Shine,
    Plume,
    PlumeDark,
    Gold,
    GoldDark,
    Shield,
    ShieldLight,
    Skin,
    Leather,
    LeatherDark,
    Steel,
    Sky1,
    Sky2,
    Sky3,
    Sky4,
    Hill,
    HillDark,
    Grass,
    GrassDark,
    Dirt,
    Shadow,
    Cloud,
};

struct Rgb {
    std::uint8_t r, g, b;
};

constexpr std::array<Rgb, 27> kColours = {{
    {0, 0, 0},       {24, 20, 37},    {68, 78, 104},   {118, 134, 160}, {178, 192, 212},
    {244, 248, 255}, {206, 52, 58},   {128, 28, 48},   {238, 188, 64},  {164, 112, 34},
    {42, 84, 178},   {96, 150, 232},  {232, 182, 144}, {124, 78, 44},   {76, 46, 28},
    {210, 222, 236}, {120, 176, 232}, {146, 196, 240}, {174, 214, 246}, {204, 232, 252},
    {92, 156, 96},   {64, 120, 78},   {110, 186, 72},  {72, 142, 52},   {142, 104, 62},
    {54, 96, 44},    {250, 252, 255},
}};

// The art is laid out as drawn; keep the formatter away from it.
// clang-format off
// Glyphs of the art below, each naming one palette entry.
Colour colourOf(char c) {
    switch (c) {
    case 'k': return Outline;
    case 'd': return ArmourDark;
    case 'm': return ArmourMid;
    case 'l': return ArmourLight;
    case 'w': return Shine;
    case 'r': return Plume;
    case 'R': return PlumeDark;
    case 'g': return Gold;
    case 'G': return GoldDark;
    case 'b': return Shield;
    case 'B': return ShieldLight;
    case 's': return Skin;
    case 'n': return Leather;
    case 'N': return LeatherDark;
    default: return Clear;
    }
}

// The knight from helmet plume to belt, facing right; shield on the near arm.
constexpr std::array<std::string_view, 21> kBody = {
    "......kkkk..........",
    ".....kRrrrk.........",
    "....kRrrRk..........",
    "...kRrRkkkkkk.......",
    "...kRkkmllwwwk......",
    "....kdmlllllwwk.....",
    "....kdmmllllllk.....",
    "....kdmkkkkkkkk.....",
    "....kdmmlllGllk.....",
    "....kddmmmmmmmk.....",
    "...kkkdddddddkkk....",
    "..kkbbkmmllllwmkk...",
    ".kbBBBbkmmllllwmsk..",
    ".kbBgBbkmmmlllmmsk..",
    ".kbggGbkmmmmllmkk...",
    ".kbBgBbkkGgggggk....",
    ".kbBBBbkdGmmmmdk....",
    "..kbbbkddmmmmmdk....",
    "...kkkkdddmmmddk....",
    "......kkdddddkk.....",
    ".......kkkkkkk......",
};

constexpr int kGroundRow = 41;
constexpr int kLegRows = 9;

// Legs in the four steps of the walk: stride, passing, other stride, passing.
using Legs = std::array<std::string_view, kLegRows>;
constexpr std::array<Legs, 4> kLegs = {{
    {".......kdmk.kdmk....",
     "......kdmk...kdmk...",
     "......kdmk...kdlmk..",
     ".....kdmk.....kdmk..",
     ".....kdmk.....kdlmk.",
     "....kdmk.......kdmk.",
     "....kNnk.......knnk.",
     "...kNNnk.......knnnk",
     "...kkkkk.......kkkkk"},
    {".......kdmmdk.......",
     ".......kdmmdk.......",
     ".......kdmldk.......",
     ".......kdmmlk.......",
     "........kdmlk.......",
     "........kdmmk.......",
     "........knnnk.......",
     "........knnnnk......",
     "........kkkkkk......"},
    {".......kdlk.kdmk....",
     "......kdlmk.kdmk....",
     "......kdmk..kdmk....",
     ".....kdlmk...kdmk...",
     ".....kdmk....kdmk...",
     "....kdlmk.....kdmk..",
     "....knnk......kNnk..",
     "...knnnk.....kNNnk..",
     "...kkkkk.....kkkkk.."},
    {".......kdmmdk.......",
     ".......kdmmdk.......",
     ".......kdmldk.......",
     ".......kdmmlk.......",
     "........kdmlk.......",
     "........kdmmk.......",
     "........knnnk.......",
     "........knnnnk......",
     "........kkkkkk......"},
}};

// clang-format on

constexpr std::array<int, kSampleFrames> kBob = {0, -1, 0, -1};
constexpr std::array<int, kSampleFrames> kDelays = {100, 120, 100, 150};
constexpr int kKnightLeft = 12;
constexpr int kBodyTop = kGroundRow - kLegRows - 20;  // the body's last row meets the legs

class Canvas {
  public:
    explicit Canvas(LayerPixels& target) : pixels(target) {}
    void set(int x, int y, std::uint8_t index) {
        if (x >= 0 && x < kSampleSide && y >= 0 && y < kSampleSide)
            pixels[static_cast<std::size_t>(y * kSampleSide + x)] = index;
    }
    std::uint8_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y * kSampleSide + x)];
    }
    template <std::size_t N>
    void art(const std::array<std::string_view, N>& rows, int left, int top) {
        for (std::size_t y = 0; y < N; ++y) {
            for (std::size_t x = 0; x < rows[y].size(); ++x) {
                const Colour c = colourOf(rows[y][x]);
                if (c != Clear) set(left + static_cast<int>(x), top + static_cast<int>(y), c);
            }
        }
    }

  private:
    LayerPixels& pixels;
};

// Sky bands, a rolling hill, a couple of clouds, grass over dirt.
void drawBackdrop(Canvas& canvas) {
    for (int y = 0; y < kSampleSide; ++y) {
        for (int x = 0; x < kSampleSide; ++x) {
            std::uint8_t c = y < 8 ? Sky1 : y < 16 ? Sky2 : y < 24 ? Sky3 : Sky4;
            // The hill: a shallow arc with a darker rim, so its edge is a diagonal.
            const int hillTop = 30 + (x - 30) * (x - 30) / 40;
            if (y >= hillTop) c = y == hillTop ? HillDark : Hill;
            if (y >= kGroundRow)
                c = y == kGroundRow ? GrassDark : y < kGroundRow + 3 ? Grass : Dirt;
            if (y >= kGroundRow + 3 && (x * 7 + y * 3) % 11 == 0) c = LeatherDark;
            canvas.set(x, y, c);
        }
    }
    const std::array<std::string_view, 4> cloud = {"..kkk.....", ".k...kk...", "k......kk.",
                                                   ".kkkkkkkk."};
    for (const auto [left, top] : {std::array<int, 2>{3, 4}, std::array<int, 2>{32, 9}}) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 10; ++x) {
                if (cloud[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == 'k')
                    canvas.set(left + x, top + y, Cloud);
            }
            // Fill between the outline of the cloud.
            int first = -1;
            int last = -1;
            for (int x = 0; x < 10; ++x) {
                if (cloud[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == 'k') {
                    if (first < 0) first = x;
                    last = x;
                }
            }
            for (int x = first; x <= last && first >= 0; ++x) canvas.set(left + x, top + y, Cloud);
        }
    }
    for (int x = 1; x < kSampleSide; x += 5) canvas.set(x, kGroundRow - 1, GrassDark);  // tufts
}

// The shadow under the knight shrinks a little as he rises.
void drawShadow(Canvas& canvas, int bob) {
    const int halfWidth = bob == 0 ? 10 : 8;
    const int centre = kKnightLeft + 10;
    for (int x = centre - halfWidth; x <= centre + halfWidth; ++x) {
        canvas.set(x, kGroundRow, Shadow);
        if (std::abs(x - centre) < halfWidth - 2) canvas.set(x, kGroundRow + 1, Shadow);
    }
}

// A sword held up and forward: a two-pixel diagonal blade with an outline,
// a gold cross-guard and a leather grip in the fist.
void drawSword(Canvas& canvas, int handX, int handY) {
    constexpr int kBlade = 13;
    for (int t = 2; t <= kBlade; ++t) {
        const int x = handX + t;
        const int y = handY - t;
        canvas.set(x - 1, y, Outline);
        canvas.set(x, y, Steel);
        canvas.set(x + 1, y, Shine);
        canvas.set(x + 2, y, Outline);
    }
    canvas.set(handX + kBlade + 1, handY - kBlade - 1, Outline);
    canvas.set(handX + kBlade, handY - kBlade - 1, Outline);
    for (int t = -2; t <= 2; ++t)
        canvas.set(handX + 1 + t, handY - 1 + t, t == 0 ? GoldDark : Gold);
    canvas.set(handX, handY, LeatherDark);
    canvas.set(handX - 1, handY + 1, Leather);
}

}  // namespace

Project makeSampleProject() {
    Palette palette{};
    for (std::size_t i = 0; i < kColours.size(); ++i) {
        palette[4 * i + 0] = kColours[i].b;
        palette[4 * i + 1] = kColours[i].g;
        palette[4 * i + 2] = kColours[i].r;
    }
    Project project = makeBlankProject(kSampleFrames, kSampleSide, kSampleSide, palette);
    project.addLayer();
    project.path = "C:\\sprites\\sample.knight.png";
    project.name = "sample.knight.png";
    project.activeLayer = 1;
    for (int f = 0; f < kSampleFrames; ++f) {
        const int bob = kBob[static_cast<std::size_t>(f)];
        project.frames[static_cast<std::size_t>(f)].delay = kDelays[static_cast<std::size_t>(f)];
        Canvas backdrop(project.pixels(f + 1, 0));
        drawBackdrop(backdrop);
        drawShadow(backdrop, bob);
        Canvas knight(project.pixels(f + 1, 1));
        const int bodyTop = kBodyTop + bob;
        // Feet stay on the ground; the legs cover the body's bottom outline.
        knight.art(kBody, kKnightLeft, bodyTop);
        knight.art(kLegs[static_cast<std::size_t>(f)], kKnightLeft, kGroundRow - kLegRows);
        drawSword(knight, kKnightLeft + 17, bodyTop + 12);
    }
    return project;
}
