// The sections that are words only: title and credits, what Marlune does, and
// how the window is used.
#include "page.h"

using manual_layout::kMargin;
using manual_layout::kPageWidth;

namespace {
constexpr int kTextWidth = kPageWidth - 2 * kMargin;
}

void drawTitleSection(Page& page) {
    const auto& b = band("title");
    page.canvas.fill({0, b.top, kPageWidth, b.bottom - b.top - 10}, colour::kAccentPale);
    page.canvas.hline(0, kPageWidth - 1, b.bottom - 11, colour::kAccent);

    const int titleBase = b.top + 16 + page.text.ascent(style::kTitle);
    const int titleWidth = page.write(kMargin, titleBase, style::kTitle, "Marlune");
    page.write(kMargin + titleWidth + 10, titleBase, {Weight::Regular, 18, colour::kAccent},
               "v0.2.1");
    page.write(kMargin, titleBase + 22, {Weight::Regular, 13, colour::kInk},
               "Pixel-art passes for the KELVARA editor");

    const int creditsTop = titleBase + 32;
    page.paragraph(kMargin, creditsTop, kTextWidth, style::kSoft,
                   "Written by the Marlune developers. Scale2x and Scale3x follow the "
                   "published AdvMAME rules; the rotation flow follows the idea of RotSprite.");
}

void drawAboutSection(Page& page) {
    const auto& b = band("about");
    int y = drawHeading(page, b.top + 6, "What Marlune does");
    y = page.paragraph(kMargin, y, kTextWidth, style::kBody,
                       "Marlune works beside the KELVARA editor on 8-bit palettised images. "
                       "Palette indices pass through every step unchanged.") +
        6;
    y = drawBullet(page, kMargin, y, kTextWidth, "Grab.",
                   "Takes the frame and layer that KELVARA shows.") +
        3;
    y = drawBullet(page, kMargin, y, kTextWidth, "Transform.",
                   "Runs it through your flow of passes, from the top of the list to the "
                   "bottom.") +
        3;
    y = drawBullet(page, kMargin, y, kTextWidth, "Preview.",
                   "Shows the result zoomed from x1 to x16; drag it to pan.") +
        3;
    drawBullet(page, kMargin, y, kTextWidth, "Send back.",
               "One frame, or a batch of every frame and layer, into the current project "
               "or a new one.");
}

void drawUsageSection(Page& page) {
    const auto& b = band("usage");
    int y = drawHeading(page, b.top + 6, "Using Marlune");
    struct Step {
        const char* lead;
        const char* text;
    };
    constexpr Step kSteps[] = {
        {"1.", "Start KELVARA, then Marlune; it connects at start-up."},
        {"2.", "Choose a pass kind, select where it goes (END appends) and press Add."},
        {"3.", "Grab image. The preview follows every change of flow, angle and wrap."},
        {"4.", "Wrap around fills a rotation's corners from the opposite edge."},
        {"5.", "Send image returns the result; Launch process runs the whole batch."},
        {"6.", "Drag this page up and down to read on; Close shuts it."},
    };

    for (const Step& step : kSteps) {
        const int rise = page.text.ascent(style::kBody);
        page.write(kMargin, y + rise, {Weight::Bold, 12, colour::kAccent}, step.lead);
        y = page.paragraph(kMargin + 20, y, kTextWidth - 20, style::kBody, step.text) + 4;
    }
}
