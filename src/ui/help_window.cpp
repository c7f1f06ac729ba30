#include "ui/help_window.h"

#include <windowsx.h>

#include <algorithm>

#include "base/log.h"
#include "ui/manual/manual_page.h"
#include "ui/window_class.h"

namespace {

constexpr int kClientWidth = 600;
constexpr int kClientHeight = 560;
constexpr int kCloseButtonHeight = 24;
constexpr int kCloseButtonId = 1;
constexpr DWORD kHelpStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU;

}  // namespace

void HelpWindows::registerClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = panelProcedure<HelpWindows>;
    windowClass.hInstance = ui_.instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_SIZEALL);
    windowClass.lpszClassName = L"DialogClass";
    RegisterClassExW(&windowClass);
}

void HelpWindows::open() {
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&outer, kHelpStyle, FALSE);
    CreateWindowExW(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, L"DialogClass", L"Help for Marlune",
                    kHelpStyle, 100, 100, outer.right - outer.left, outer.bottom - outer.top,
                    nullptr, nullptr, ui_.instance, this);
}

bool HelpWindows::handle(HWND window, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate(window);
            return false;
        case WM_PAINT:
            paint(window);
            return false;
        case WM_CLOSE:
        case WM_COMMAND:
            DestroyWindow(window);
            return true;
        case WM_LBUTTONDOWN:
            ui_.helpDragging = true;
            SetCapture(window);
            ui_.helpLastMouseX = GET_X_LPARAM(lParam);
            ui_.helpLastMouseY = GET_Y_LPARAM(lParam);
            return false;
        case WM_LBUTTONUP:
            ReleaseCapture();
            ui_.helpDragging = false;
            return false;
        case WM_MOUSEMOVE:
            if (ui_.helpDragging) {
                const int x = GET_X_LPARAM(lParam);
                const int y = GET_Y_LPARAM(lParam);
                // Dragging upwards moves the page up.
                ui_.helpOffset =
                    std::clamp(ui_.helpOffset + ui_.helpLastMouseY - y, 0, kHelpMaxOffset);
                InvalidateRect(window, nullptr, FALSE);
                UpdateWindow(window);
                ui_.helpLastMouseX = x;
                ui_.helpLastMouseY = y;
            }
            return false;
        default:
            return false;
    }
}

void HelpWindows::onCreate(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    logFormat("%s RECT(left: %ld, right: %ld, top: %ld, bottom: %ld)\n", "help", client.left,
              client.right, client.top, client.bottom);
    // Built once, with the first help window as owner, and kept for every later one.
    if (ui_.manual == nullptr) ui_.manual = loadManualPage(window);
    createChild(window, L"button", L"Close", 0, 0, client.bottom - kCloseButtonHeight, client.right,
                kCloseButtonHeight, kCloseButtonId);
}

void HelpWindows::paint(HWND window) {
    PaintScope paintScope(window);
    RECT client;
    GetClientRect(window, &client);
    const int pageHeight = client.bottom - kCloseButtonHeight;
    const IndexedImage* manual = ui_.manual.get();
    if (manual == nullptr || !manual->valid) {
        const RECT page{0, 0, client.right, pageHeight};
        FillRect(paintScope.dc(), &page, ui_.checkerBrush.get());
        return;
    }
    SelectObject(manual->memoryDc, manual->bitmap);
    if (!BitBlt(paintScope.dc(), 0, 0, client.right, pageHeight, manual->memoryDc, 0,
                ui_.helpOffset, SRCCOPY)) {
        logLine("failed to blit help bitmap");
    }
}
