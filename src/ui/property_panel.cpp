#include "ui/property_panel.h"

#include <commctrl.h>

#include "ui/window_class.h"

namespace {

constexpr int kLeftBuddyId = 103;
constexpr int kRightBuddyId = 104;
constexpr int kAngleLabelId = 105;
constexpr int kAngleTrackbarId = 106;
constexpr int kWrapAroundId = 107;
constexpr int kHelpButtonId = 124;

}  // namespace

void PropertyPanel::create(HWND main, HBRUSH background) {
    registerPanelClass(ui_.instance, {L"PropertyPanelClass", panelProcedure<PropertyPanel>,
                                      IDC_ARROW, background});
    HWND panel = createChild(main, L"PropertyPanelClass", L"", WS_CLIPSIBLINGS | WS_BORDER, 0, 410,
                             480, 140, 0, this);
    ui_.propertyPanel = panel;

    HWND left = createChild(panel, L"STATIC", L"0", 0, 0, 0, 10, 15, kLeftBuddyId);
    HWND right = createChild(panel, L"STATIC", L"360", 0, 0, 0, 30, 15, kRightBuddyId);
    ui_.angleLabel =
        createChild(panel, L"STATIC", L"Rotation angle: 0", 0, 155, 5, 130, 18, kAngleLabelId);
    HWND trackbar = createChild(panel, TRACKBAR_CLASSW, L"Trackbar Control",
                                WS_BORDER | TBS_AUTOTICKS | TBS_ENABLESELRANGE, 30, 23, 380, 24,
                                kAngleTrackbarId);
    ui_.angleTrackbar = trackbar;
    createChild(panel, L"button", L"Wrap around", BS_CHECKBOX, 15, 50, 150, 35, kWrapAroundId);
    ui_.helpButton = createChild(panel, L"BUTTON", L"Help / About", WS_TABSTOP | BS_DEFPUSHBUTTON,
                                 25, 105, 390, 24, kHelpButtonId);

    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 360));
    SendMessageW(trackbar, TBM_SETPAGESIZE, 0, 45);
    SendMessageW(trackbar, TBM_SETSEL, FALSE, MAKELPARAM(0, 359));
    SendMessageW(trackbar, TBM_SETTICFREQ, 45, 0);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 0);
    SendMessageW(trackbar, TBM_SETBUDDY, TRUE, reinterpret_cast<LPARAM>(left));
    SendMessageW(trackbar, TBM_SETBUDDY, FALSE, reinterpret_cast<LPARAM>(right));
}

bool PropertyPanel::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
            case kWrapAroundId:
                toggleWrapAround(window);
                break;
            case kHelpButtonId:
                help_.open();
                break;
            default:
                break;
        }
    } else if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == ui_.angleTrackbar) {
        // Any scroll code, so the picture follows the thumb while it is dragged.
        const auto angle = static_cast<int>(SendMessageW(ui_.angleTrackbar, TBM_GETPOS, 0, 0));
        setLabelNumber(ui_.angleLabel, "Rotation angle: %ld", angle);
        state_.chain.setRotationAngle(ui_.preview, angle);
    }
    return false;
}

void PropertyPanel::toggleWrapAround(HWND window) {
    // The box is toggled here, not by the control, so flag and box never disagree.
    const bool checked = IsDlgButtonChecked(window, kWrapAroundId) != BST_UNCHECKED;
    state_.chain.setWrapAround(ui_.preview, checked ? 0 : 1);
    CheckDlgButton(window, kWrapAroundId, checked ? BST_UNCHECKED : BST_CHECKED);
}
