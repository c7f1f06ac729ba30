#include "shapes.h"

#include <array>
#include <cmath>
#include <numbers>

#include "image/section.h"

namespace {

constexpr std::uint8_t kRed = 2, kGold = 3, kBlue = 4, kWhite = 5, kSteel = 6, kBrown = 7,
                       kDarkBrown = 8, kGreen = 9;

struct Point {
    double x, y;
};

bool within(Point p, Point centre, double radius) {
    return std::hypot(p.x - centre.x, p.y - centre.y) < radius;
}

// Whether p lies inside the polygon (even-odd rule).
template <std::size_t N>
bool inside(Point p, const std::array<Point, N>& polygon) {
    bool in = false;
    for (std::size_t i = 0, j = N - 1; i < N; j = i++) {
        const Point a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
            in = !in;
        }
    }
    return in;
}

// A disc with a highlight (and one-pixel details, see idealShapes).
std::uint8_t disc(double x, double y) {
    const Point p{x, y};
    if (within(p, {-8.5, 8.5}, 1.6)) return kWhite;
    return within(p, {0, 0}, 22) ? kRed : kPaper;
}

// A board with one-pixel grain lines.
std::uint8_t plank(double x, double y) {
    if (std::fabs(x) >= 26 || std::fabs(y) >= 5) return kPaper;
    if (std::fabs(y - 1.5) < 0.5 || (std::fabs(y + 2.5) < 0.5 && x > -18 && x < 9))
        return kDarkBrown;
    return kBrown;
}

// A sword lying diagonally, point up right: a blade with a one-pixel fuller,
// a guard, a grip and a pommel. u runs along the blade, v across it. Its axis
// runs through pixel centres at 0 degrees, and so, a pixel left of the
// raster's centre, clear of pixel centres and edges at 45 degrees and the
// like (through the centre it would lie on a pixel edge there, and which row
// the blade took would be a coin toss).
std::uint8_t sword(double x, double y) {
    const double u = (x + 1 + y) / std::numbers::sqrt2, v = (y - x - 1) / std::numbers::sqrt2;
    const double across = std::fabs(v);
    if (u >= -6 && u < 27 && across < 2.5 * std::min(1.0, (27 - u) / 7)) {
        return across < 0.5 && u > -4 && u < 18 ? kWhite : kSteel;
    }
    if (u >= -8.5 && u < -6 && across < 7) return kGold;
    if (u >= -16 && u < -8.5 && across < 1.5) return kBrown;
    return within({u, v}, {-18, 0}, 2.5) ? kGold : kPaper;
}

// A five-pointed star with thin points and a gem.
std::uint8_t star(double x, double y) {
    static const std::array<Point, 10> outline = [] {
        std::array<Point, 10> points{};
        for (int k = 0; k < 10; ++k) {
            const double radius = k % 2 == 0 ? 24.0 : 9.5;
            const double angle = std::numbers::pi / 2 + k * std::numbers::pi / 5;
            points[static_cast<std::size_t>(k)] = {radius * std::cos(angle),
                                                   radius * std::sin(angle)};
        }
        return points;
    }();
    if (within({x, y}, {0.5, 0.5}, 2.2)) return kRed;
    return inside({x, y}, outline) ? kGold : kPaper;
}

// An arrow: a two-pixel shaft, a head and two fins.
std::uint8_t arrow(double x, double y) {
    const Point p{x, std::fabs(y)};
    if (inside(p, std::array<Point, 3>{{{27, 0}, {14, 6.5}, {14, 0}}})) return kSteel;
    if (inside(p, std::array<Point, 4>{{{-20, 1}, {-28, 1}, {-29.5, 6.5}, {-24, 6.5}}})) {
        return kRed;
    }
    return x > -25 && x < 14 && p.y < 1 ? kBrown : kPaper;
}

// An ellipse in three-pixel stripes.
std::uint8_t stripedEllipse(double x, double y) {
    if ((x / 27) * (x / 27) + (y / 15) * (y / 15) >= 1) return kPaper;
    return static_cast<int>(std::floor((x + 30) / 3)) % 2 == 0 ? kBlue : kWhite;
}

std::uint8_t ring(double x, double y) {
    const double r = std::hypot(x, y);
    return r > 12 && r < 20 ? kGreen : kPaper;
}

}  // namespace

std::vector<Shape> idealShapes() {
    // Details sit on pixel centres (offsets k + 0.5), where the 0-degree raster has them.
    return {{"disc", 56, disc, {{-3.5, 13.5, kWhite}, {9.5, -10.5, kGold}}},
            {"plank", 64, plank, {{-22.5, 2.5, kSteel}, {22.5, -2.5, kSteel}}},
            {"sword", 64, sword, {}},
            {"star", 56, star, {}},
            {"arrow", 64, arrow, {}},
            {"striped ellipse", 64, stripedEllipse, {}},
            {"ring", 48, ring, {{15.5, 0.5, kGold}, {-7.5, 14.5, kGold}, {-8.5, -13.5, kGold}}}};
}

std::vector<std::uint8_t> shapePaletteQuads() {
    const std::uint8_t rgb[][3] = {
        {236, 236, 228}, {20, 24, 40},    {200, 40, 50}, {240, 190, 60}, {50, 90, 190},
        {255, 255, 255}, {150, 160, 175}, {150, 95, 50}, {95, 55, 30},   {60, 150, 70}};
    std::vector<std::uint8_t> quads(kPaletteBytes, 0);
    for (std::size_t i = 0; i < std::size(rgb); ++i) {
        quads[4 * i] = rgb[i][2];
        quads[4 * i + 1] = rgb[i][1];
        quads[4 * i + 2] = rgb[i][0];
    }
    return quads;
}
