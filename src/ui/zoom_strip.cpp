#include "ui/zoom_strip.h"

#include <commctrl.h>

#include "ui/window_class.h"

namespace {

constexpr int kZoomTrackbarId = 119;
constexpr int kLeftBuddyId = 120;
constexpr int kRightBuddyId = 121;
constexpr int kZoomLabelId = 122;
constexpr int kTrackbarStyle = WS_BORDER | TBS_AUTOTICKS | TBS_ENABLESELRANGE;

}  // namespace

void ZoomStrip::create(HWND main, HBRUSH background) {
    registerPanelClass(ui_.instance,
                       {L"RenderCtrlPanelClass", panelProcedure<ZoomStrip>, IDC_ARROW, background});
    ui_.zoomStrip =
        createChild(main, L"RenderCtrlPanelClass", L"", WS_CLIPSIBLINGS, 10, 370, 480, 30, 0, this);

    HWND trackbar = createChild(ui_.zoomStrip, TRACKBAR_CLASSW, L"Trackbar Control", kTrackbarStyle,
                                160, 0, 220, 24, kZoomTrackbarId);
    ui_.zoomTrackbar = trackbar;
    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(1, 16));
    SendMessageW(trackbar, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(trackbar, TBM_SETTICFREQ, 1, 0);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 1);

    ui_.zoomLabel =
        createChild(ui_.zoomStrip, L"STATIC", L"Display zoom: x1", 0, 5, 0, 125, 15, kZoomLabelId);
    HWND left = createChild(ui_.zoomStrip, L"STATIC", L"x1", 0, 0, 0, 18, 15, kLeftBuddyId);
    HWND right = createChild(ui_.zoomStrip, L"STATIC", L"x16", 0, 0, 0, 25, 15, kRightBuddyId);
    SendMessageW(trackbar, TBM_SETBUDDY, TRUE, reinterpret_cast<LPARAM>(left));
    SendMessageW(trackbar, TBM_SETBUDDY, FALSE, reinterpret_cast<LPARAM>(right));
}

bool ZoomStrip::handle(HWND, UINT message, WPARAM, LPARAM lParam) {
    // Any scroll code, so the zoom follows the thumb while it is dragged.
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == ui_.zoomTrackbar) {
        showZoom(static_cast<int>(SendMessageW(ui_.zoomTrackbar, TBM_GETPOS, 0, 0)));
    }
    return false;
}

void ZoomStrip::setZoom(int zoom) {
    SendMessageW(ui_.zoomTrackbar, TBM_SETPOS, TRUE, zoom);
    showZoom(zoom);
}

void ZoomStrip::showZoom(int zoom) {
    setLabelNumber(ui_.zoomLabel, "Display zoom: x%ld", zoom);
    preview_.setDisplayZoom(zoom);
}
