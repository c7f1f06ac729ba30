// The table of example results, one picture per pass kind, and the note on the
// RotSprite-style flow. Every picture is the real output of our passes.
#include <algorithm>
#include <string>

#include "example_run.h"
#include "example_sprite.h"
#include "page.h"

using manual_layout::ExampleSpot;
using manual_layout::kMargin;
using manual_layout::kPageWidth;

namespace {

constexpr int kTextWidth = kPageWidth - 2 * kMargin;

std::string_view lastPass(const ExampleSpot& spot) {
    return spot.flowLength == 0 ? "Input"
                                : spot.flow[static_cast<std::size_t>(spot.flowLength - 1)];
}

// What the picture shows, in a few words.
std::string describe(const ExampleSpot& spot) {
    const std::string_view kind = lastPass(spot);
    if (kind == "Input") return "16 × 16";
    if (kind == "Zoom2x") return "2 × 2 blocks";
    if (kind == "Zoom3x") return "3 × 3 blocks";
    if (kind == "Scale2x") return "smooth edges";
    if (kind == "Scale3x") return "smooth edges";
    if (kind == "MMPX2x") return "sharp corners";
    if (kind == "Canvas2x") return "canvas doubled";
    if (kind == "Space2x") return "pixels spread out";
    if (kind == "RotSprite") return "smooth, same size";
    if (spot.flowLength == 1) return "same size";
    // "after Scale2x ×2", "after Scale3x, Scale2x": the passes run before it.
    std::string text = "after";
    for (int i = 0; i + 1 < spot.flowLength;) {
        const std::string_view name = spot.flow[static_cast<std::size_t>(i)];
        int run = 1;
        while (i + run + 1 < spot.flowLength &&
               spot.flow[static_cast<std::size_t>(i + run)] == name) {
            ++run;
        }
        text += i == 0 ? " " : ", ";
        text += name;
        if (run > 1) text += " ×" + std::to_string(run);
        i += run;
    }
    return text;
}

// Draws the spot's picture and its caption.
void drawSpot(Page& page, const ExampleSpot& spot, int captionWidth, const TextStyle& name,
              const TextStyle& detail) {
    const ExampleRun run(spot, page.palette.rgbQuads().data());
    const IndexedImage* image = run.result();
    if (image == nullptr) return;
    captionWidth = std::min(captionWidth, kPageWidth - kMargin - spot.x);
    page.canvas.blit(*image, spot.x, spot.y, spot.zoom);
    const int bottom = spot.y + image->height * spot.zoom;
    page.write(spot.x, bottom + 14, name, lastPass(spot));
    page.text.drawParagraph(page.canvas, page.palette, spot.x, bottom + 17, captionWidth, detail,
                            describe(spot), 1);
}

}  // namespace

void drawExamplesSection(Page& page) {
    namespace L = manual_layout;
    const auto& b = band("examples");
    const int top = drawHeading(page, b.top + 6, "Example results");
    page.paragraph(kMargin, top, kTextWidth, style::kBody,
                   "Each picture is the real output of Marlune's passes on the same sprite. "
                   "Index 0, the light backdrop, is what passes put into new pixels.");

    for (const ExampleSpot& spot : L::kExampleSpots) {
        const bool rotation = spot.y == L::kRotationRow;
        if (rotation) {
            drawSpot(page, spot, L::kRotationStep - 4, {Weight::CondensedBold, 10, colour::kInk},
                     {Weight::Regular, 10, colour::kInkSoft});
        } else {
            drawSpot(page, spot, L::kColumnStep - 10, style::kCaption, style::kSoft);
        }
    }

    const int firstRule = L::kTripleRow - 8;
    page.canvas.hline(kMargin, kPageWidth - kMargin - 1, firstRule, colour::kRule);
    const int noteX = L::kColumn0 + 3 * L::kColumnStep;
    page.paragraph(noteX, L::kTripleRow + 4, kPageWidth - kMargin - noteX, style::kSoft,
                   "Zoom repeats every pixel. Scale2x and Scale3x look at the neighbours "
                   "and round off stair-step diagonals. MMPX2x smooths lines and slopes too, "
                   "but keeps square corners sharp and single pixels whole. None adds a "
                   "colour.");

    const int secondRule = L::kRotationRow - 38;
    page.canvas.hline(kMargin, kPageWidth - kMargin - 1, secondRule, colour::kRule);
    const int leadTop = secondRule + 8;
    const int lead = page.write(kMargin, leadTop + page.text.ascent(style::kBodyBold),
                                style::kBodyBold, "Rotations at 30°, shown 3 ×.");
    page.paragraph(kMargin, leadTop, kTextWidth, style::kBody,
                   "Unzoom passes shrink back what the scalers enlarged.", lead + 6);
}

void drawRotSpriteNote(Page& page) {
    namespace L = manual_layout;
    const auto& b = band("rotsprite");
    const Rect box{kMargin, b.top + 4, kTextWidth, b.bottom - b.top - 8};
    page.canvas.fill(box, colour::kNoteFill);
    page.canvas.frame(box, colour::kNoteBorder);
    page.canvas.fill({box.x, box.y, 4, box.h}, colour::kNoteBorder);

    const int inner = box.x + 16;
    const int titleBase = box.y + 8 + page.text.ascent(style::kHeading);
    page.write(inner, titleBase, {Weight::Bold, 15, colour::kInk}, "Tip: RotSprite-style rotation");
    page.paragraph(inner, titleBase + 8, box.w - 30, style::kBody,
                   "Scale2x, Scale2x, Scale2x, RotateUnzoom8x enlarges the sprite 8 ×, turns "
                   "it and samples it back: lines stay clean where Rotate breaks them. The "
                   "RotSprite pass does it in one step, keeps lone highlights and draws "
                   "outlines again, unbroken.");

    constexpr const char* kCaptions[] = {"Input", "Rotate, 30°", "RotSprite-style, 30°",
                                         "RotSprite, 30°"};
    const std::string kDetails[] = {"16 × 16, shown " + std::to_string(L::kNoteZoom) + " ×",
                                    "one pass", "four passes", "one pass"};
    for (std::size_t i = 0; i < L::kNoteSpots.size(); ++i) {
        const ExampleSpot& spot = L::kNoteSpots[i];
        const ExampleRun run(spot, page.palette.rgbQuads().data());
        const IndexedImage* image = run.result();
        if (image == nullptr) continue;
        const Rect picture{spot.x, spot.y, image->width * spot.zoom, image->height * spot.zoom};
        page.canvas.frame({picture.x - 1, picture.y - 1, picture.w + 2, picture.h + 2},
                          colour::kNoteBorder);
        page.canvas.blit(*image, spot.x, spot.y, spot.zoom);
        page.write(spot.x, picture.bottom() + 15, style::kCaption, kCaptions[i]);
        page.write(spot.x, picture.bottom() + 29, style::kSoft, kDetails[i]);
    }
}
