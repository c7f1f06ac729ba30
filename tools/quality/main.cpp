// Measures how faithfully Rotate, the four-pass flow (Scale2x x3 +
// RotateUnzoom8x) and RotSprite turn a set of sprites: pixels changed at 0
// degrees, exactness at right angles, round-trip mismatch (turn by t, then by
// 360 - t) over 5..355 degrees, and whether any output holds a new index.
// Then what each part of RotSprite contributes, by turning it off. Last, the
// "ideal raster" measure: shapes defined exactly, rasterised at each angle
// with their outline recomputed, against each method's turn of the 0-degree
// raster.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ideal.h"
#include "metrics.h"
#include "passes/pass_chain.h"
#include "passes/pass_kinds.h"
#include "passes/rotsprite/quarter_turn.h"
#include "passes/rotsprite/renderer.h"
#include "picture.h"
#include "shapes.h"
#include "sprites.h"

namespace {

enum Kind {
    kScale2x = 2,
    kRotate = 6,
    kRotateUnzoom2x = 7,
    kRotateUnzoom8x = 10,
    kRotSprite = 11,
    kMmpx2x = 12
};

std::unique_ptr<IndexedImage> copyOf(const IndexedImage& image) {
    auto copy = std::make_unique<IndexedImage>(nullptr, image.width, image.height, image.palette());
    for (int y = 0; y < image.height; ++y) std::copy_n(image.row(y), image.width, copy->row(y));
    return copy;
}

// A turn through a chain of pass kinds, as the application runs it.
Turn flow(std::vector<int> kinds) {
    return [kinds](const IndexedImage& image, int degrees) {
        PassChain chain;
        for (int kind : kinds) chain.insertPass(nullptr, chain.size(), kind);
        chain.setRotationAngle(nullptr, degrees);
        chain.setSource(copyOf(image));
        chain.evaluate(nullptr);
        return copyOf(*chain.displayedImage());
    };
}

// RotSprite's renderer with some of its parts turned off.
Turn rotSprite(rotsprite::Options options) {
    return [options](const IndexedImage& image, int degrees) {
        PassChain settings;  // only for the angle in radians, as the application computes it
        settings.setRotationAngle(nullptr, degrees);
        rotsprite::Renderer renderer(options);
        auto out =
            std::make_unique<IndexedImage>(nullptr, image.width, image.height, image.palette());
        renderer.render(image, settings.settings(), *out);
        return out;
    };
}

struct Method {
    const char* name;
    Turn turn;
};

struct Summary {
    double mismatch = 0;  // mean over sprites and angles
    double lost = 0;      // mean fraction of lone pixels lost
    int changedAtZero = 0;
    bool exact = true;
    bool newIndex = false;
};

constexpr int kStep = 5;

Summary measure(const Method& method, const Sprite& sprite, bool print) {
    Summary s;
    const IndexedImage& image = *sprite.image;
    s.changedAtZero = differingPixels(image, *method.turn(image, 0));
    s.exact = exactAtRightAngles(method.turn, image);
    int angles = 0;
    for (int degrees = kStep; degrees < 360; degrees += kStep, ++angles) {
        s.mismatch += roundTripMismatch(method.turn, image, degrees);
        const auto out = method.turn(image, degrees);
        s.newIndex = s.newIndex || addsIndex(image, *out);
        s.lost += lostDetails(image, *out, degrees);
    }
    s.mismatch /= angles;
    s.lost /= angles;
    if (print) {
        std::printf(" %5d %5s %6.2f%% %5.1f%% %3s |", s.changedAtZero, s.exact ? "yes" : "no",
                    100 * s.mismatch, 100 * s.lost, s.newIndex ? "YES" : "no");
    }
    return s;
}

// Measures every method on every sprite; prints a row per sprite when asked.
std::vector<Summary> table(const std::vector<Method>& methods, const std::vector<Sprite>& sprites,
                           bool print) {
    std::vector<Summary> means(methods.size());
    for (const Sprite& sprite : sprites) {
        if (print)
            std::printf("%-12s %2dx%-2d |", sprite.name.c_str(), sprite.image->width,
                        sprite.image->height);
        for (std::size_t m = 0; m < methods.size(); ++m) {
            const Summary s = measure(methods[m], sprite, print);
            means[m].mismatch += s.mismatch / static_cast<double>(sprites.size());
            means[m].lost += s.lost / static_cast<double>(sprites.size());
            means[m].changedAtZero += s.changedAtZero;
            means[m].exact = means[m].exact && s.exact;
            means[m].newIndex = means[m].newIndex || s.newIndex;
        }
        if (print) std::printf("\n");
    }
    return means;
}

void printMeans(const char* label, const Summary& s) {
    std::printf(
        "%-28s changed at 0: %3d px in all  right angles exact: %-3s  round trip: %5.2f%%  "
        "lone pixels lost: %5.1f%%  new index: %s\n",
        label, s.changedAtZero, s.exact ? "yes" : "no", 100 * s.mismatch, 100 * s.lost,
        s.newIndex ? "YES" : "no");
}

// The ideal measure at 5, 15, ..., 355 degrees.
constexpr int kIdealFirst = 5, kIdealStep = 10;

struct IdealMeans {
    double mismatch = 0;     // mean over shapes and angles
    double extraPieces = 0;  // mean per image
};

IdealMeans idealMeasure(const Method& method, const std::vector<Shape>& shapes,
                        const std::uint8_t* palette, bool print) {
    IdealMeans all;
    for (const Shape& shape : shapes) {
        const auto upright = idealRaster(shape, 0, palette);
        IdealMeans own;
        int angles = 0;
        for (int degrees = kIdealFirst; degrees < 360; degrees += kIdealStep, ++angles) {
            const IdealScore s = scoreAgainst(*idealRaster(shape, degrees, palette),
                                              *method.turn(*upright, degrees));
            own.mismatch += s.mismatch;
            own.extraPieces += s.extraPieces;
        }
        own.mismatch /= angles;
        own.extraPieces /= angles;
        if (print) std::printf(" %6.2f%% %7.2f |", 100 * own.mismatch, own.extraPieces);
        all.mismatch += own.mismatch / static_cast<double>(shapes.size());
        all.extraPieces += own.extraPieces / static_cast<double>(shapes.size());
    }
    return all;
}

// Whether the shapes' angles turn the way the passes do: the raster at 90
// degrees is the 0-degree raster turned exactly by a quarter (clockwise on
// screen), and not the other way.
bool sameSense(const std::vector<Shape>& shapes, const std::uint8_t* palette) {
    for (const Shape& shape : shapes) {
        const auto upright = idealRaster(shape, 0, palette);
        auto turned = std::make_unique<IndexedImage>(nullptr, shape.side, shape.side, palette);
        rotsprite::quarterTurn(*upright, 1, false, *turned);
        if (differingPixels(*turned, *idealRaster(shape, 90, palette)) != 0) return false;
    }
    return true;
}

std::vector<IdealMeans> printIdeal(const std::vector<Method>& methods) {
    const std::vector<Shape> shapes = idealShapes();
    const std::vector<std::uint8_t> palette = shapePaletteQuads();
    std::printf(
        "\nAgainst the ideal raster (angles %d..%d step %d; the shapes' turn matches the "
        "passes': %s).\nPer shape: mismatch (pixels differing / pixels not paper in either) "
        "and extra outline pieces, means over the angles.\n%-30s |",
        kIdealFirst, 360 - kIdealFirst, kIdealStep,
        sameSense(shapes, palette.data()) ? "yes" : "NO", "method");
    for (const Shape& shape : shapes) std::printf(" %-15.15s |", shape.name.c_str());
    std::printf(" %-20s\n", "mean: mismatch, extra");
    std::vector<IdealMeans> means;
    for (const Method& method : methods) {
        std::printf("%-30s |", method.name);
        means.push_back(idealMeasure(method, shapes, palette.data(), true));
        std::printf(" %6.2f%% %5.2f\n", 100 * means.back().mismatch, means.back().extraPieces);
    }
    return means;
}

// The sword and the ring of the ideal measure at 30 degrees, before and after
// RotSprite drew outlines again: input, before, now on each row, shown 5 x.
int writePicture(const std::string& path) {
    rotsprite::Options before;
    before.redrawOutlines = false;
    const Turn turns[] = {rotSprite(before), rotSprite({})};
    const std::vector<std::uint8_t> palette = shapePaletteQuads();
    const std::vector<Shape> shapes = idealShapes();
    std::vector<std::unique_ptr<IndexedImage>> kept;
    std::vector<PictureRow> rows;
    for (const Shape* shape : {&shapes[2], &shapes[6]}) {
        kept.push_back(idealRaster(*shape, 0, palette.data()));
        rows.push_back({{kept.back().get()}, 5});
        const IndexedImage& input = *kept.back();
        for (const Turn& turn : turns) {
            kept.push_back(turn(input, 30));
            rows.back().images.push_back(kept.back().get());
        }
    }
    if (!writeRows(path, rows)) {
        std::fprintf(stderr, "marlune_quality: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("wrote %s\n", path.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<Sprite> sprites = qualitySprites();
    if (argc == 3 && std::strcmp(argv[1], "--picture") == 0) return writePicture(argv[2]);
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--picture OUT.ppm]\n", argv[0]);
        return 2;
    }
    const std::vector<Method> methods = {
        {"Rotate", flow({kRotate})},
        {"Scale2x x3 + RotateUnzoom8x", flow({kScale2x, kScale2x, kScale2x, kRotateUnzoom8x})},
        {"RotSprite", flow({kRotSprite})},
    };
    std::printf(
        "Angles %d..%d step %d. Per method: px changed at 0 deg | right angles exact |\n"
        "round-trip mismatch (mean, inside the inscribed circle) | lone pixels lost "
        "(mean) | new index\n\n",
        kStep, 360 - kStep, kStep);
    std::printf("%-18s |", "sprite");
    for (const Method& m : methods) std::printf(" %-30s |", m.name);
    std::printf("\n");
    const std::vector<Summary> means = table(methods, sprites, true);
    std::printf("\nMeans over %zu sprites:\n", sprites.size());
    for (std::size_t m = 0; m < methods.size(); ++m) printMeans(methods[m].name, means[m]);
    std::printf("RotSprite's round trip against the four-pass flow's: %.2f (goal: at most 0.33)\n",
                means[2].mismatch / means[1].mismatch);

    rotsprite::Options noSimilar, noSearch, noRestore, none, asBefore, scale2xShape;
    noSimilar.similarDistance = -1;
    noSearch.searchOffset = false;
    noRestore.restoreDetails = false;
    none = {-1, false, false};
    asBefore.redrawOutlines = false;
    scale2xShape.mmpxShape = false;
    const std::vector<Method> ablations = {
        {"RotSprite, all parts", rotSprite({})},
        {"  only equal indices alike", rotSprite(noSimilar)},
        {"  no offset search", rotSprite(noSearch)},
        {"  no detail restoration", rotSprite(noRestore)},
        {"  none of the three", rotSprite(none)},
        {"  outline redrawn, shape by Scale2x", rotSprite(scale2xShape)},
        {"  no outline redrawn (before)", rotSprite(asBefore)},
    };
    std::printf("\nWhat each part contributes (means over the same sprites and angles):\n");
    const std::vector<Summary> parts = table(ablations, sprites, false);
    for (std::size_t m = 0; m < ablations.size(); ++m) printMeans(ablations[m].name, parts[m]);

    // RotSprite as it was, and without MMPX for the shape; then the 2x flows:
    // which enlargement keeps outlines whole through a turn.
    std::vector<Method> ideal = methods;
    ideal.push_back({"RotSprite, shape by Scale2x", rotSprite(scale2xShape)});
    ideal.push_back({"RotSprite before (no redrawn)", rotSprite(asBefore)});
    ideal.push_back({"Scale2x + RotateUnzoom2x", flow({kScale2x, kRotateUnzoom2x})});
    ideal.push_back({"MMPX2x + RotateUnzoom2x", flow({kMmpx2x, kRotateUnzoom2x})});
    ideal.push_back(
        {"MMPX2x x3 + RotateUnzoom8x", flow({kMmpx2x, kMmpx2x, kMmpx2x, kRotateUnzoom8x})});
    const std::vector<IdealMeans> fromIdeal = printIdeal(ideal);
    const IdealMeans& now = fromIdeal[2];
    const IdealMeans& before = fromIdeal[4];
    std::printf(
        "RotSprite against before: extra outline pieces %.2f (goal: at most 0.33), mismatch "
        "%.2f (goal: at most 0.8)\n",
        now.extraPieces / before.extraPieces, now.mismatch / before.mismatch);
    return 0;
}
