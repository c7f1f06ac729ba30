#include "ui/source_page.h"

#include "ui/window_class.h"

namespace {

constexpr int kButtonHeight = 24;
constexpr int kGroupTop = 24;
constexpr int kGroupHeight = 135;
constexpr int kBandInset = 5;
constexpr int kCheckBoxHeight = 20;
constexpr int kStatusHeight = 16;

}  // namespace

HWND createHiddenPage(HWND tabControl, const RECT& pageRect, const wchar_t* className,
                      void* panel) {
    const auto instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(tabControl, GWLP_HINSTANCE));
    return CreateWindowExW(0, className, L"", WS_CHILD, pageRect.left, pageRect.top,
                           pageRect.right - pageRect.left, pageRect.bottom - pageRect.top,
                           tabControl, nullptr, instance, panel);
}

InnerBand createPageFrame(HWND page, const wchar_t* buttonText, int buttonId,
                          const wchar_t* groupText, HWND* button) {
    RECT pageClient;
    GetClientRect(page, &pageClient);
    const int pageWidth = pageClient.right;
    *button = createChild(page, L"BUTTON", buttonText, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0,
                          pageWidth, kButtonHeight, buttonId);
    HWND group = createChild(page, L"button", groupText, BS_GROUPBOX, 0, kGroupTop, pageWidth,
                             kGroupHeight, 0);
    return bandInside(group, page);
}

InnerBand bandInside(HWND group, HWND page) {
    // The group box's client rectangle, moved to where the box sits in the page.
    RECT band;
    GetClientRect(group, &band);
    MapWindowPoints(group, page, reinterpret_cast<POINT*>(&band), 2);
    return {band.left + kBandInset, (band.right - kBandInset) - (band.left + kBandInset)};
}

void createCheckedBox(HWND page, const wchar_t* text, const InnerBand& band, int y, int id) {
    createChild(page, L"button", text, BS_CHECKBOX, band.left, y, band.width, kCheckBoxHeight, id);
    CheckDlgButton(page, id, BST_CHECKED);
}

void toggleCheckBox(HWND page, int id) {
    CheckDlgButton(page, id, isChecked(page, id) ? BST_UNCHECKED : BST_CHECKED);
}

bool isChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) != BST_UNCHECKED;
}

HWND createHostButton(HWND page, const wchar_t* text, const InnerBand& band, int y, int id) {
    return createChild(page, L"BUTTON", text, WS_TABSTOP | BS_DEFPUSHBUTTON, band.left, y,
                       band.width, kButtonHeight, id);
}

HWND createStatusText(HWND page, const InnerBand& band, int y, int id) {
    HWND status = createChild(page, L"STATIC", L"", 0, band.left, y, band.width, kStatusHeight, id);
    // The dialog font: "Frame 12 of 40, layer 3 of 4" fits the band, which
    // the wide system font of the other controls would cut.
    SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return status;
}
