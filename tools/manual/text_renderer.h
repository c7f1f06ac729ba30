#pragma once
// Pixel text through FreeType: light hinting, antialiased coverage quantised
// onto the page palette's 8-step ramps from whatever lies under each glyph
// pixel to the ink.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "canvas.h"
#include "page_palette.h"

enum class Weight { Regular, Bold, CondensedBold };

struct TextStyle {
    Weight weight = Weight::Regular;
    int pixelSize = 12;
    std::uint8_t ink = colour::kInk;
};

class TextRenderer {
  public:
    // Throws std::runtime_error when FreeType or a font cannot be loaded.
    TextRenderer(const std::string& regularFont, const std::string& boldFont,
                 const std::string& condensedBoldFont);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    int measure(const TextStyle& style, std::string_view utf8);
    int ascent(const TextStyle& style);
    int lineHeight(const TextStyle& style);

    // Draws one line with its baseline at y; returns the advance width.
    int draw(Canvas& canvas, PagePalette& palette, int x, int baseline, const TextStyle& style,
             std::string_view utf8);
    // Draws centred within [x, x + width).
    void drawCentred(Canvas& canvas, PagePalette& palette, int x, int width, int baseline,
                     const TextStyle& style, std::string_view utf8);
    // Word-wraps `utf8` into `width` from top `y`, lines `lineHeight(style) + gap`
    // apart, the first line starting `indent` further right; returns the y just
    // below the last line.
    int drawParagraph(Canvas& canvas, PagePalette& palette, int x, int y, int width,
                      const TextStyle& style, std::string_view utf8, int gap = 2, int indent = 0);

  private:
    struct Fonts;
    std::unique_ptr<Fonts> fonts_;
};
