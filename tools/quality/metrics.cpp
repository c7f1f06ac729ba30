#include "metrics.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

int at(const IndexedImage& image, int x, int y) {
    return image.row(y)[x];
}

bool inCircle(const IndexedImage& image, int x, int y) {
    const double r = std::min(image.width, image.height) / 2.0;
    const double dx = x + 0.5 - image.width / 2.0, dy = y + 0.5 - image.height / 2.0;
    return dx * dx + dy * dy <= r * r;
}

}  // namespace

int differingPixels(const IndexedImage& a, const IndexedImage& b) {
    int count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) count += at(a, x, y) != at(b, x, y);
    }
    return count;
}

bool exactAtRightAngles(const Turn& turn, const IndexedImage& image) {
    const int n = image.width - 1;
    for (int turns = 1; turns <= 3; ++turns) {
        const auto out = turn(image, 90 * turns);
        for (int y = 0; y <= n; ++y) {
            for (int x = 0; x <= n; ++x) {
                // Memory rows count upwards, so a clockwise turn on screen is
                // counter-clockwise here: output (x, y) comes from
                // (n - y, x), (n - x, n - y), (y, n - x).
                const int sx = turns == 1 ? n - y : turns == 2 ? n - x : y;
                const int sy = turns == 1 ? x : turns == 2 ? n - y : n - x;
                if (at(*out, x, y) != at(image, sx, sy)) return false;
            }
        }
    }
    return true;
}

double roundTripMismatch(const Turn& turn, const IndexedImage& image, int degrees) {
    const auto back = turn(*turn(image, degrees), 360 - degrees);
    int inside = 0, differing = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!inCircle(image, x, y)) continue;
            ++inside;
            differing += at(image, x, y) != at(*back, x, y);
        }
    }
    return inside > 0 ? static_cast<double>(differing) / inside : 0.0;
}

bool addsIndex(const IndexedImage& input, const IndexedImage& output) {
    std::array<bool, 256> present{};
    present[0] = true;
    for (int y = 0; y < input.height; ++y) {
        for (int x = 0; x < input.width; ++x) present[at(input, x, y)] = true;
    }
    for (int y = 0; y < output.height; ++y) {
        for (int x = 0; x < output.width; ++x) {
            if (!present[at(output, x, y)]) return true;
        }
    }
    return false;
}

double lostDetails(const IndexedImage& input, const IndexedImage& output, int degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    const double cx = input.width / 2.0, cy = input.height / 2.0;
    int lone = 0, lost = 0;
    for (int y = 1; y + 1 < input.height; ++y) {
        for (int x = 1; x + 1 < input.width; ++x) {
            const int e = at(input, x, y);
            if (!inCircle(input, x, y) || e == at(input, x - 1, y) || e == at(input, x + 1, y) ||
                e == at(input, x, y - 1) || e == at(input, x, y + 1)) {
                continue;
            }
            ++lone;
            // The output pixel whose centre turns onto this pixel's centre.
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const int ox = static_cast<int>(std::floor(cx + dx * std::cos(a) + dy * std::sin(a)));
            const int oy = static_cast<int>(std::floor(cy - dx * std::sin(a) + dy * std::cos(a)));
            bool found = false;
            for (int v = oy - 1; v <= oy + 1; ++v) {
                for (int u = ox - 1; u <= ox + 1; ++u) {
                    const bool inside = u >= 0 && u < output.width && v >= 0 && v < output.height;
                    found = found || (inside && at(output, u, v) == e);
                }
            }
            lost += !found;
        }
    }
    return lone > 0 ? static_cast<double>(lost) / lone : 0.0;
}
