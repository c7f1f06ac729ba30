// Native builds have no windows: a redraw is only counted, so tests can see
// whether an evaluation ended by repainting its owner.
#include "passes/redraw.h"
#include "redraw_count.h"

namespace {
int redraws = 0;
}

void redrawWindowNow(HWND) {
    ++redraws;
}
int nativeRedrawCount() {
    return redraws;
}
