#include "passes/redraw.h"

void redrawWindowNow(HWND window) {
    if (window == nullptr) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
}
