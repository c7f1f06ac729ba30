#pragma once
// Panel window classes: a static trampoline finds the panel object stored at
// creation and hands it the message. A panel's `handle` returns true when the
// message is fully dealt with (result 0); everything else goes on to the
// default procedure, as every panel wants for messages it only observes.
#include <windows.h>

template <class Panel>
LRESULT CALLBACK panelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* panel = reinterpret_cast<Panel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (panel != nullptr && panel->handle(window, message, wParam, lParam)) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

struct PanelClass {
    const wchar_t* name;
    WNDPROC procedure;
    LPCSTR cursor;      // a system cursor id (IDC_*)
    HBRUSH background;  // may be null: the panel paints every pixel
};

// Registers the class with the 16-bit interface and no class style.
void registerPanelClass(HINSTANCE instance, const PanelClass& panelClass);

// A visible child window (control or panel) at the given place. `creationData`
// reaches the panel's trampoline.
HWND createChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                 int y, int width, int height, int id, void* creationData = nullptr);

// Sets a label to a number formatted with `format` (one %ld).
void setLabelNumber(HWND label, const char* format, long value);
