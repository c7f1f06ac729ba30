// Renders the built-in manual page and writes it as an 8-bit BMP.
// Usage: marlune_manual_gen OUTPUT.bmp [FONT_DIR]
#include <cstdio>
#include <exception>
#include <string>

#include "bmp_writer.h"
#include "example_sprite.h"
#include "page.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp [FONT_DIR]\n", argv[0]);
        return 2;
    }
    const std::string fontDir = argc == 3 ? argv[2] : "/usr/share/fonts/truetype/dejavu";
    try {
        PagePalette palette(spriteColours());
        Canvas canvas(manual_layout::kPageWidth, manual_layout::kPageHeight, colour::kPaper);
        TextRenderer text(fontDir + "/DejaVuSans.ttf", fontDir + "/DejaVuSans-Bold.ttf",
                          fontDir + "/DejaVuSansCondensed-Bold.ttf");
        Page page{canvas, palette, text};

        drawTitleSection(page);
        drawAboutSection(page);
        drawWindowSection(page);
        drawExamplesSection(page);
        drawRotSpriteNote(page);
        drawUsageSection(page);

        writeFile(argv[1], encodeBmp8(canvas, palette));
        std::printf("wrote %s: %dx%d, %d palette entries used\n", argv[1], canvas.width(),
                    canvas.height(), palette.used());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "marlune_manual_gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
