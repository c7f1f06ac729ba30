#pragma once
// What every section of the manual draws with, and the page's text styles.
#include <string_view>

#include "canvas.h"
#include "manual_layout.h"
#include "page_palette.h"
#include "text_renderer.h"

struct Page {
    static constexpr int kLineGap = 3;

    Canvas& canvas;
    PagePalette& palette;
    TextRenderer& text;

    int write(int x, int baseline, const TextStyle& style, std::string_view utf8) {
        return text.draw(canvas, palette, x, baseline, style, utf8);
    }
    int paragraph(int x, int top, int width, const TextStyle& style, std::string_view utf8,
                  int indent = 0) {
        return text.drawParagraph(canvas, palette, x, top, width, style, utf8, kLineGap, indent);
    }
    void centred(int x, int width, int baseline, const TextStyle& style, std::string_view utf8) {
        text.drawCentred(canvas, palette, x, width, baseline, style, utf8);
    }
};

namespace style {
inline constexpr TextStyle kTitle{Weight::Bold, 30, colour::kAccent};
inline constexpr TextStyle kHeading{Weight::Bold, 17, colour::kAccent};
inline constexpr TextStyle kBody{Weight::Regular, 12, colour::kInk};
inline constexpr TextStyle kBodyBold{Weight::Bold, 12, colour::kInk};
inline constexpr TextStyle kSoft{Weight::Regular, 11, colour::kInkSoft};
inline constexpr TextStyle kCaption{Weight::Bold, 11, colour::kInk};
}  // namespace style

// The named band of the page layout; throws when there is none.
const manual_layout::Band& band(std::string_view name);

// A section heading at the top of a band, with a rule under it; returns the y
// where the section's content starts.
int drawHeading(Page& page, int top, std::string_view title);

// A bullet paragraph: a small accent square, then wrapped text; returns the y below.
int drawBullet(Page& page, int x, int top, int width, std::string_view lead, std::string_view utf8);

void drawTitleSection(Page& page);
void drawAboutSection(Page& page);
void drawWindowSection(Page& page);
void drawExamplesSection(Page& page);
void drawRotSpriteNote(Page& page);
void drawUsageSection(Page& page);
