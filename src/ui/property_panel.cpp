#include "ui/property_panel.h"

#include <commctrl.h>

#include <cmath>

#include "flow/flow_text.h"
#include "ui/host_operation.h"
#include "ui/window_class.h"

namespace {

constexpr int kLeftBuddyId = 103;
constexpr int kRightBuddyId = 104;
constexpr int kAngleLabelId = 105;
constexpr int kAngleTrackbarId = 106;
constexpr int kWrapAroundId = 107;
constexpr int kHelpButtonId = 124;
constexpr int kAngleBoxId = 125;
constexpr int kAnglePageSize = 15;
constexpr int kAngleBoxLimit = 24;

// The slider position for an angle: the nearest whole degree, halves up.
int nearestWholeDegree(double degrees) {
    // Not std::round: MinGW's rounds some values just below a half up.
    const double below = std::floor(degrees);
    return static_cast<int>(below) + (degrees - below >= 0.5 ? 1 : 0);
}

// Enter in the angle box reaches the panel as a dialog's Enter would: as IDOK.
LRESULT CALLBACK angleBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(box));
        return 0;
    }
    if (message == WM_CHAR && wParam == '\r') return 0;  // handled above; no beep
    return DefSubclassProc(box, message, wParam, lParam);
}

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
    // The dialog font: a typed angle ("Rotation angle: 26.565") fits the
    // label, which the wide system font would cut after the colon.
    SendMessageW(ui_.angleLabel, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    HWND trackbar = createChild(panel, TRACKBAR_CLASSW, L"Trackbar Control",
                                WS_BORDER | TBS_AUTOTICKS | TBS_ENABLESELRANGE, 30, 23, 380, 24,
                                kAngleTrackbarId);
    ui_.angleTrackbar = trackbar;
    ui_.wrapAroundBox =
        createChild(panel, L"button", L"Wrap around", BS_CHECKBOX, 15, 50, 150, 35, kWrapAroundId);
    ui_.helpButton = createChild(panel, L"BUTTON", L"Help / About", WS_TABSTOP | BS_DEFPUSHBUTTON,
                                 25, 105, 390, 24, kHelpButtonId);
    // Beside the label, above the slider's right end: typed angles such as 26.565.
    ui_.angleBox = createChild(panel, L"EDIT", L"0", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 290,
                               2, 70, 20, kAngleBoxId);
    SendMessageW(ui_.angleBox, EM_SETLIMITTEXT, kAngleBoxLimit, 0);
    SetWindowSubclass(ui_.angleBox, angleBoxProcedure, 0, 0);

    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 360));
    SendMessageW(trackbar, TBM_SETPAGESIZE, 0, kAnglePageSize);
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
                // Every frame of a batch goes through the same settings.
                if (!hostOperationRunning(ui_)) toggleWrapAround(window);
                break;
            case kHelpButtonId:
                help_.open();
                break;
            case IDOK:
                applyTypedAngle();
                break;
            case kAngleBoxId:
                // Text left unapplied is not the angle: show the angle again.
                if (HIWORD(wParam) == EN_KILLFOCUS) showAngle();
                break;
            default:
                break;
        }
    } else if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == ui_.angleTrackbar) {
        followSlider();
    }
    return false;
}

void PropertyPanel::followSlider() {
    if (hostOperationRunning(ui_)) {
        // A scroll that slipped past the disabled slider: put it back.
        const int stored = nearestWholeDegree(state_.chain.settings().angleDegrees);
        SendMessageW(ui_.angleTrackbar, TBM_SETPOS, TRUE, stored);
        return;
    }
    // Any scroll code, so the picture follows the thumb while it is dragged.
    const auto angle = static_cast<int>(SendMessageW(ui_.angleTrackbar, TBM_GETPOS, 0, 0));
    state_.chain.setRotationAngle(ui_.preview, angle);
    showAngle();
}

void PropertyPanel::applyTypedAngle() {
    char typed[kAngleBoxLimit + 1] = {};
    GetWindowTextA(ui_.angleBox, typed, sizeof typed);
    double angle = 0.0;
    if (parseAngle(typed, angle) && !hostOperationRunning(ui_)) {
        state_.chain.setRotationAngle(ui_.preview, angle);
        SendMessageW(ui_.angleTrackbar, TBM_SETPOS, TRUE, nearestWholeDegree(angle));
    }
    showAngle();
}

void PropertyPanel::showAngle() {
    const std::string degrees = formatAngleText(state_.chain.settings().angleDegrees);
    SetWindowTextA(ui_.angleLabel, ("Rotation angle: " + degrees).c_str());
    SetWindowTextA(ui_.angleBox, degrees.c_str());
}

void PropertyPanel::toggleWrapAround(HWND window) {
    // The box is toggled here, not by the control, so flag and box never disagree.
    const bool checked = IsDlgButtonChecked(window, kWrapAroundId) != BST_UNCHECKED;
    state_.chain.setWrapAround(ui_.preview, checked ? 0 : 1);
    CheckDlgButton(window, kWrapAroundId, checked ? BST_UNCHECKED : BST_CHECKED);
}

void PropertyPanel::showSettings() {
    const PassSettings& settings = state_.chain.settings();
    SendMessageW(ui_.angleTrackbar, TBM_SETPOS, TRUE, nearestWholeDegree(settings.angleDegrees));
    CheckDlgButton(ui_.propertyPanel, kWrapAroundId,
                   settings.wrapAround != 0 ? BST_CHECKED : BST_UNCHECKED);
    showAngle();
}
