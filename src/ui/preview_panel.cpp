#include "ui/preview_panel.h"

#include <windowsx.h>

#include <cstdint>

#include "base/log.h"
#include "ui/preview_geometry.h"
#include "ui/window_class.h"

namespace {

constexpr int kPreviewId = 112;
constexpr int kCheckerSize = 8;

void setGrey(std::uint8_t* palette, int index, std::uint8_t grey) {
    std::uint8_t* entry = palette + index * 4;
    entry[0] = entry[1] = entry[2] = grey;  // blue, green, red
}

}  // namespace

void PreviewPanel::create(HWND main) {
    registerPanelClass(ui_.instance,
                       {L"RenderPanelClass", panelProcedure<PreviewPanel>, IDC_SIZEALL, nullptr});
    ui_.preview =
        createChild(main, L"RenderPanelClass", L"", WS_BORDER, 10, 10, 470, 350, kPreviewId, this);
}

bool PreviewPanel::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PaintScope paintScope(window);
            paint(paintScope.dc());
            break;
        }
        case WM_LBUTTONDOWN:
            ui_.dragging = true;
            SetCapture(window);
            ui_.lastMouseX = GET_X_LPARAM(lParam);
            ui_.lastMouseY = GET_Y_LPARAM(lParam);
            break;
        case WM_MOUSEMOVE:
            if (ui_.dragging) {
                const int x = GET_X_LPARAM(lParam);
                const int y = GET_Y_LPARAM(lParam);
                scrollBy(x - ui_.lastMouseX, y - ui_.lastMouseY, true);
                ui_.lastMouseX = x;
                ui_.lastMouseY = y;
            }
            break;
        case WM_LBUTTONUP:
            ReleaseCapture();
            ui_.dragging = false;
            break;
        case WM_MOUSEWHEEL:
            logFormat("zdelta = %d\n", GET_WHEEL_DELTA_WPARAM(wParam));
            break;
        default:
            break;
    }
    return false;
}

void PreviewPanel::scrollBy(int dx, int dy, bool redraw) {
    const IndexedImage* image = state_.chain.displayedImage();
    if (image == nullptr) return;
    RECT client;
    GetClientRect(ui_.preview, &client);
    ui_.scrollX = clampScroll(ui_.scrollX, dx, image->width, ui_.zoom, client.right);
    ui_.scrollY = clampScroll(ui_.scrollY, dy, image->height, ui_.zoom, client.bottom);
    if (redraw) {
        RedrawWindow(ui_.preview, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
    }
}

void PreviewPanel::setDisplayZoom(int zoom) {
    ui_.zoom = zoom;
    ui_.scrollX = 0;
    ui_.scrollY = 0;
    RedrawWindow(ui_.preview, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
}

void PreviewPanel::fillChecker(HDC dc, int left, int top, int right, int bottom) const {
    const RECT area{left, top, right, bottom};
    FillRect(dc, &area, ui_.checkerBrush.get());
}

void PreviewPanel::paint(HDC dc) {
    RECT client;
    GetClientRect(ui_.preview, &client);
    IndexedImage* image = state_.chain.displayedImage();
    if (image == nullptr) {
        fillChecker(dc, 0, 0, client.right, client.bottom);
        return;
    }
    scrollBy(0, 0, false);
    const PreviewLayout layout = layoutPreview(image->width, image->height, ui_.zoom, client.right,
                                               client.bottom, ui_.scrollX, ui_.scrollY);
    SelectObject(image->memoryDc, image->bitmap);
    const PreviewRect& from = layout.source;
    const PreviewRect& to = layout.target;
    BOOL copied = TRUE;
    if (!to.empty()) {
        copied = ui_.zoom == 1
                     ? BitBlt(dc, to.left, to.top, to.width(), to.height(), image->memoryDc,
                              from.left, from.top, SRCCOPY)
                     : StretchBlt(dc, to.left, to.top, to.width(), to.height(), image->memoryDc,
                                  from.left, from.top, from.width(), from.height(), SRCCOPY);
    }
    if (!copied) logLine("failed to blit ");
    for (int i = 0; i < layout.fillCount; ++i) {
        const PreviewRect& strip = layout.fills[i];
        fillChecker(dc, strip.left, strip.top, strip.right, strip.bottom);
    }
}

void PreviewPanel::createCheckerboard(HWND owner) {
    std::uint8_t palette[kPaletteBytes] = {};
    setGrey(palette, 0, 128);
    setGrey(palette, 1, 150);
    ui_.checkerboard = std::make_unique<IndexedImage>(owner, kCheckerSize, kCheckerSize, palette);
    IndexedImage& tile = *ui_.checkerboard;
    if (tile.valid) {
        // Memory rows run bottom-up: the lower half starts dark on the left,
        // so the top-left square on screen is the lighter grey.
        for (int row = 0; row < kCheckerSize; ++row) {
            for (int column = 0; column < kCheckerSize; ++column) {
                const bool lowerHalf = row < kCheckerSize / 2;
                const bool leftHalf = column < kCheckerSize / 2;
                tile.row(row)[column] = lowerHalf == leftHalf ? 0 : 1;
            }
        }
    }
    ui_.checkerBrush.reset(CreatePatternBrush(tile.bitmap));
}

void PreviewPanel::destroyCheckerboard() {
    ui_.checkerBrush.reset();
    ui_.checkerboard.reset();
}
