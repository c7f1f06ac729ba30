#include "passes/pass_kinds.h"

#include "passes/mmpx2x_pass.h"
#include "passes/replication_passes.h"
#include "passes/rotate_pass.h"
#include "passes/rotsprite_pass.h"
#include "passes/scale2x_pass.h"
#include "passes/scale3x_pass.h"

const wchar_t* const passKindNames[kPassKindCount + 1] = {
    L"Zoom2x",
    L"Zoom3x",
    L"Scale2x",
    L"Scale3x",
    L"Canvas2x",
    L"Space2x",
    L"Rotate",
    L"RotateUnzoom2x",
    L"RotateUnzoom4x",
    L"RotateUnzoom6x",
    L"RotateUnzoom8x",
    L"RotSprite",
    L"MMPX2x",
    L"END",
};

const char* const passKindNamesNarrow[kPassKindCount + 1] = {
    "Zoom2x", "Zoom3x",         "Scale2x",        "Scale3x",        "Canvas2x",       "Space2x",
    "Rotate", "RotateUnzoom2x", "RotateUnzoom4x", "RotateUnzoom6x", "RotateUnzoom8x", "RotSprite",
    "MMPX2x", "END"};

std::unique_ptr<Pass> makePass(int kind, const PassSettings& settings) {
    switch (kind) {
        case 0:
            return std::make_unique<Zoom2xPass>();
        case 1:
            return std::make_unique<Zoom3xPass>();
        case 2:
            return std::make_unique<Scale2xPass>();
        case 3:
            return std::make_unique<Scale3xPass>();
        case 4:
            return std::make_unique<Canvas2xPass>();
        case 5:
            return std::make_unique<Space2xPass>();
        case 6:
            return std::make_unique<RotatePass>(1, settings);
        case 7:
            return std::make_unique<RotatePass>(2, settings);
        case 8:
            return std::make_unique<RotatePass>(4, settings);
        case 9:
            return std::make_unique<RotatePass>(6, settings);
        case 10:
            return std::make_unique<RotatePass>(8, settings);
        case 11:
            return std::make_unique<RotSpritePass>(settings);
        case 12:
            return std::make_unique<Mmpx2xPass>();
        default:
            return nullptr;
    }
}
