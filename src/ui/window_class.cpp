#include "ui/window_class.h"

#include "base/bounded_format.h"

void registerPanelClass(HINSTANCE instance, const PanelClass& panelClass) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = panelClass.procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, panelClass.cursor);
    windowClass.hbrBackground = panelClass.background;
    windowClass.lpszClassName = panelClass.name;
    RegisterClassW(&windowClass);
}

HWND createChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                 int y, int width, int height, int id, void* creationData) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           creationData);
}

void setLabelNumber(HWND label, const char* format, long value) {
    char text[64];
    formatBounded(text, sizeof text, format, value);
    SetWindowTextA(label, text);
}
