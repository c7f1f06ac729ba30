#include "owner_window.h"

namespace {

constexpr const char* kOwnerClass = "MarluneE2EOwner";

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

OwnerWindow::OwnerWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ownerProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowA(kOwnerClass, "Marlune test owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                            nullptr, nullptr, windowClass.hInstance, nullptr);
}

OwnerWindow::~OwnerWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}
