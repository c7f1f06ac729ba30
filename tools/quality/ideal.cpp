#include "ideal.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Exact at quarter turns, where std::cos(pi / 2) is not 0.
void cosSin(double degrees, double& c, double& s) {
    const double turns = degrees / 90.0;
    if (turns == std::floor(turns)) {
        static constexpr double kCos[] = {1, 0, -1, 0}, kSin[] = {0, 1, 0, -1};
        const int q = ((static_cast<int>(turns) % 4) + 4) % 4;
        c = kCos[q];
        s = kSin[q];
        return;
    }
    const double radians = degrees * std::numbers::pi / 180.0;
    c = std::cos(radians);
    s = std::sin(radians);
}

}  // namespace

std::unique_ptr<IndexedImage> idealRaster(const Shape& shape, double degrees,
                                          const std::uint8_t* palette) {
    const int n = shape.side;
    auto image = std::make_unique<IndexedImage>(nullptr, n, n, palette);
    double c = 0, s = 0;
    cosSin(degrees, c, s);
    std::vector<std::uint8_t> fill(static_cast<std::size_t>(n) * n);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double x = i + 0.5 - n / 2.0, y = j + 0.5 - n / 2.0;
            fill[static_cast<std::size_t>(j) * n + i] = shape.fill(x * c - y * s, x * s + y * c);
        }
    }
    // The pixel whose square holds the detail turned back: R(-degrees) d.
    for (const Detail& d : shape.details) {
        const int i = static_cast<int>(std::floor(d.x * c + d.y * s + n / 2.0));
        const int j = static_cast<int>(std::floor(-d.x * s + d.y * c + n / 2.0));
        fill[static_cast<std::size_t>(j) * n + i] = d.index;
    }
    const auto at = [&](int i, int j) {
        const bool in = i >= 0 && i < n && j >= 0 && j < n;
        return in ? fill[static_cast<std::size_t>(j) * n + i] : kPaper;
    };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const std::uint8_t f = at(i, j);
            const bool edge = at(i - 1, j) == kPaper || at(i + 1, j) == kPaper ||
                              at(i, j - 1) == kPaper || at(i, j + 1) == kPaper;
            image->row(j)[i] = f != kPaper && edge ? kInk : f;
        }
    }
    return image;
}

int pieces(const IndexedImage& image, std::uint8_t index) {
    const int w = image.width, h = image.height;
    std::vector<bool> seen(static_cast<std::size_t>(w) * h, false);
    std::vector<std::pair<int, int>> stack;
    int count = 0;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (image.row(j)[i] != index || seen[static_cast<std::size_t>(j) * w + i]) continue;
            ++count;
            stack.assign(1, {i, j});
            seen[static_cast<std::size_t>(j) * w + i] = true;
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                for (int v = std::max(y - 1, 0); v <= std::min(y + 1, h - 1); ++v) {
                    for (int u = std::max(x - 1, 0); u <= std::min(x + 1, w - 1); ++u) {
                        const std::size_t k = static_cast<std::size_t>(v) * w + u;
                        if (image.row(v)[u] == index && !seen[k]) {
                            seen[k] = true;
                            stack.emplace_back(u, v);
                        }
                    }
                }
            }
        }
    }
    return count;
}

IdealScore scoreAgainst(const IndexedImage& ideal, const IndexedImage& output) {
    int differing = 0, shown = 0;
    for (int j = 0; j < ideal.height; ++j) {
        for (int i = 0; i < ideal.width; ++i) {
            const std::uint8_t a = ideal.row(j)[i], b = output.row(j)[i];
            shown += a != kPaper || b != kPaper;
            differing += a != b;
        }
    }
    IdealScore score;
    score.mismatch = shown > 0 ? static_cast<double>(differing) / shown : 0.0;
    score.extraPieces = std::max(pieces(output, kInk) - pieces(ideal, kInk), 0);
    return score;
}
