// The worked examples of every rule pin the plain references, which the
// passes then meet over many sizes (pass_kinds_test.cpp); and the rotation's
// fast rounding meets its definition.
#include <gtest/gtest.h>

#include <cmath>

#include "pass_test_support.h"
#include "passes/kernels/rotate_rows.h"

using namespace passtest;

namespace {

TEST(ReplicationReferences, WorkedExamples) {
    const auto seven = imageOf("7");
    EXPECT_EQ(zoomReference(*seven, 2), pixelsOf("77/77"));
    EXPECT_EQ(zoomReference(*seven, 3), pixelsOf("777/777/777"));
    EXPECT_EQ(space2xReference(*seven), pixelsOf("70/00"));
    EXPECT_EQ(canvas2xReference(*seven), pixelsOf("00/70"));
    EXPECT_EQ(space2xReference(*imageOf("39")), pixelsOf("3090/0000"));
    // Odd sizes sit half a pixel left of and below the centre; even ones exactly in it.
    EXPECT_EQ(canvas2xReference(*imageOf("123/456")), pixelsOf("000000/012300/045600/000000"));
    EXPECT_EQ(canvas2xReference(*imageOf("1234/5678/9abc/defg")),
              pixelsOf("00000000/00000000/00123400/00567800/009abc00/00defg00/00000000/00000000"));
}

TEST(ScaleReferences, WorkedExamples) {
    const struct {
        const char *in, *scale2x, *scale3x;
    } examples[] = {
        {"12/21", "1122/1212/2121/2211", "111222/112122/122112/211221/221211/222111"},
        {"100/010/001", "110000/101000/011100/001110/000101/000011",
         "111000000/110100000/100100000/011111000/000111000/000111110/000001001/000001011/"
         "000000111"},
        {"0011/0111/1111", "00001111/00011111/00011111/01111111/11111111/11111111",
         "000000111111/000001111111/000001111111/000011111111/000111111111/011111111111/"
         "111111111111/111111111111/111111111111"},
        // The 5 keeps its own colour beside the 254 although the row above is outside.
        {"05Y/000", "0055YY/0005YY/000000/000000",
         "000555YYY/000055YYY/000005YYY/000000000/000000000/000000000"},
    };
    for (const auto& example : examples) {
        EXPECT_EQ(scale2xReference(*imageOf(example.in)), pixelsOf(example.scale2x)) << example.in;
        EXPECT_EQ(scale3xReference(*imageOf(example.in)), pixelsOf(example.scale3x)) << example.in;
    }
}

// MMPX, one picture per group of rules, dark lines (higher indices are
// darker) on light ground unless said.
int darkerUp(int i) {
    return 255 - 20 * i;
}
int lighterUp(int i) {
    return 20 * i;
}

TEST(MmpxReference, WorkedExamples) {
    const struct {
        const char* what;
        const char* in;
        int (*grey)(int);
        const char* out;
    } examples[] = {
        {"1:1 edge: the darker side takes the diagonal", "0001/0011/0111/1111", darkerUp,
         "00000011/00000111/00001111/00011111/00111111/01111111/11111111/11111111"},
        {"1:1 edge, the other way round", "0001/0011/0111/1111", lighterUp,
         "00000011/00000011/00000111/00001111/00011111/00111111/11111111/11111111"},
        // Scale2x cuts two corners off the 2 and rounds the square's.
        {"1:1 edge: a single-pixel feature stays whole", "1100/1200/0000/0000", darkerUp,
         "11110000/11110000/11220000/11220000/00000000/00000000/00000000/00000000"},
        {"1:1 edge: square corners stay sharp", "0000/0110/0110/0000", darkerUp,
         "00000000/00000000/00111100/00111100/00111100/00111100/00000000/00000000"},
        {"1:1 edge: square corners stay sharp, light on dark", "1111/1001/1001/1111", darkerUp,
         "11111111/11111111/11000011/11000011/11000011/11000011/11111111/11111111"},
        {"intersection: two lines meet in a filled vertex",
         "0100000/0010000/0001000/0010000/0100000", darkerUp,
         "00110000000000/00111000000000/00011100000000/00001110000000/00000111000000/"
         "00000111000000/00001110000000/00011100000000/00111000000000/00110000000000"},
        {"triangle tip: a light wedge ends in a point", "11111/11011/10001/00000", darkerUp,
         "1111111111/1111111111/1111111111/1111001111/1110000111/1100000011/0000000000/"
         "0000000000"},
        {"2:1 slope: both halves of the step", "000000/000011/001111/111111", darkerUp,
         "000000000000/000000000000/000000001111/000000111111/000011111111/001111111111/"
         "111111111111/111111111111"},
    };
    for (const auto& e : examples) {
        EXPECT_EQ(mmpx2xReference(*withGreys(imageOf(e.in), e.grey)), pixelsOf(e.out)) << e.what;
    }
}

Pixels rotated(const IndexedImage& in, int factor, int degrees, bool wrap) {
    return rotateReference(in, factor, settingsFor(degrees, wrap).angleRadians, wrap);
}

TEST(RotateReference, WorkedExamples) {
    const struct {
        const char* in;
        int factor, degrees;
        bool wrap;
        const char* out;
    } examples[] = {
        {"123/456", 1, 0, false, "123/456"},
        {"123/456", 1, 360, true, "123/456"},
        {"123/456/789", 1, 180, false, "987/654/321"},
        // Even sizes: output column and row 0 map just outside the input.
        {"1234/5678", 1, 180, false, "0432/0000"},
        {"1234/5678", 1, 180, true, "1432/5876"},
        // Clockwise as shown: the pixel right of the centre lands below it.
        {"123/456/789", 1, 90, false, "741/852/963"},
        {"01234/56789/abcde/fghij/klmno", 2, 0, false, "024/ace/kmo"},
        // The size follows the integer factor; k is just below 6.
        {"0123456789abc", 6, 0, false, "06c"},
    };
    for (const auto& e : examples) {
        EXPECT_EQ(rotated(*imageOf(e.in), e.factor, e.degrees, e.wrap), pixelsOf(e.out))
            << e.in << " " << e.degrees << (e.wrap ? " wrapped" : "");
    }
    // Unzoom8x on 10 x 10 samples columns and rows -3 and 5; -3 wraps to 7.
    const auto ten = labelled(10, 10);
    EXPECT_EQ(rotated(*ten, 8, 0, false), (Pixels{0, 0, 0, label(5, 5)}));
    EXPECT_EQ(rotated(*ten, 8, 0, true),
              (Pixels{label(7, 7), label(5, 7), label(7, 5), label(5, 5)}));
    // At 90 degrees on 10 x 100, output row j reads column 55 - j: row 80
    // reads -25 (wraps to 5), row 32 reads 23 (wraps to 3).
    const Pixels tall = rotated(*labelled(10, 100), 1, 90, true);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(tall[80 * 10 + i], label(5, i + 45)) << i;
        EXPECT_EQ(tall[32 * 10 + i], label(3, i + 45)) << i;
    }
}

TEST(RotateRows, NearestRoundsHalvesAwayFromZero) {
    const double cases[] = {0.0,
                            std::nextafter(0.5, 0.0),
                            0.5,
                            std::nextafter(0.5, 1.0),
                            1.5,
                            2.5,
                            std::nextafter(1.5, 0.0),
                            std::nextafter(2.5, 0.0),
                            2147483647.5,
                            std::nextafter(2147483647.5, 0.0),
                            4503599627370495.5,
                            std::nextafter(4503599627370495.5, 0.0)};
    for (double value : cases) {
        EXPECT_EQ(kernels::nearest(value), halfAwayFromZero(value)) << value;
        EXPECT_EQ(kernels::nearest(-value), halfAwayFromZero(-value)) << -value;
    }
}

}  // namespace
