#include "text_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryHandle = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

// Code points of a UTF-8 string; malformed bytes become U+FFFD.
std::vector<char32_t> decodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80           ? 0
                          : (lead >> 5) == 0x06 ? 1
                          : (lead >> 4) == 0x0E ? 2
                          : (lead >> 3) == 0x1E ? 3
                                                : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            cp = (cp << 6) |
                 (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT;

}  // namespace

struct TextRenderer::Fonts {
    LibraryHandle library;
    FaceHandle regular;
    FaceHandle bold;
    FaceHandle condensedBold;

    FT_Face face(const TextStyle& style) {
        FT_Face f = style.weight == Weight::Bold            ? bold.get()
                    : style.weight == Weight::CondensedBold ? condensedBold.get()
                                                            : regular.get();
        if (FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(style.pixelSize)) != 0) {
            throw std::runtime_error("cannot set font size");
        }
        return f;
    }
};

namespace {

FaceHandle openFace(FT_Library library, const std::string& path) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        throw std::runtime_error("cannot open font " + path);
    }
    return FaceHandle(face);
}

}  // namespace

TextRenderer::TextRenderer(const std::string& regularFont, const std::string& boldFont,
                           const std::string& condensedBoldFont)
    : fonts_(std::make_unique<Fonts>()) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("cannot start FreeType");
    fonts_->library.reset(library);
    fonts_->regular = openFace(library, regularFont);
    fonts_->bold = openFace(library, boldFont);
    fonts_->condensedBold = openFace(library, condensedBoldFont);
}

TextRenderer::~TextRenderer() {
    // Faces before the library that owns them.
    fonts_->regular.reset();
    fonts_->bold.reset();
    fonts_->condensedBold.reset();
}

int TextRenderer::measure(const TextStyle& style, std::string_view utf8) {
    FT_Face face = fonts_->face(style);
    long width = 0;
    for (char32_t cp : decodeUtf8(utf8)) {
        if (FT_Load_Char(face, cp, kLoadFlags) != 0) continue;
        width += face->glyph->advance.x;
    }
    return static_cast<int>(width >> 6);
}

int TextRenderer::ascent(const TextStyle& style) {
    return static_cast<int>(fonts_->face(style)->size->metrics.ascender >> 6);
}

int TextRenderer::lineHeight(const TextStyle& style) {
    return static_cast<int>(fonts_->face(style)->size->metrics.height >> 6);
}

int TextRenderer::draw(Canvas& canvas, PagePalette& palette, int x, int baseline,
                       const TextStyle& style, std::string_view utf8) {
    FT_Face face = fonts_->face(style);
    long pen = 0;  // 26.6 fixed point
    for (char32_t cp : decodeUtf8(utf8)) {
        if (FT_Load_Char(face, cp, kLoadFlags | FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        const int left = x + static_cast<int>(pen >> 6) + glyph->bitmap_left;
        const int top = baseline - glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const unsigned char* line = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int level = (line[col] * (kRampSteps - 1) + 127) / 255;
                if (level == 0) continue;
                const int px = left + static_cast<int>(col);
                const int py = top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= canvas.width() || py >= canvas.height()) continue;
                std::uint8_t under = canvas.at(px, py);
                if (under == style.ink) continue;
                // Where glyphs touch, keep the darker of the two steps on one ramp
                // instead of making a ramp from a ramp.
                if (auto step = palette.rampStep(under); step && step->ink == style.ink) {
                    under = step->background;
                    level = std::max(level, step->step);
                }
                canvas.set(px, py, palette.ramp(under, style.ink)[static_cast<std::size_t>(level)]);
            }
        }
        pen += glyph->advance.x;
    }
    return static_cast<int>(pen >> 6);
}

void TextRenderer::drawCentred(Canvas& canvas, PagePalette& palette, int x, int width, int baseline,
                               const TextStyle& style, std::string_view utf8) {
    draw(canvas, palette, x + (width - measure(style, utf8)) / 2, baseline, style, utf8);
}

int TextRenderer::drawParagraph(Canvas& canvas, PagePalette& palette, int x, int y, int width,
                                const TextStyle& style, std::string_view utf8, int gap,
                                int indent) {
    const int step = lineHeight(style) + gap;
    const int rise = ascent(style);
    std::string line;
    auto flush = [&] {
        draw(canvas, palette, x + indent, y + rise, style, line);
        y += step;
        indent = 0;
        line.clear();
    };
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t end = std::min(utf8.find(' ', pos), utf8.size());
        const std::string word(utf8.substr(pos, end - pos));
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && measure(style, candidate) > width - indent) {
            flush();
            line = word;
        } else {
            line = candidate;
        }
        pos = end + 1;
    }
    if (!line.empty()) flush();
    return y;
}
