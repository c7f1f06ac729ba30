#pragma once
// A hidden top-level window of the test program's own: it owns the images and
// the clipboard while an image is put on it, and is what the chain's evaluation
// redraws. Make it only once the host serves: a starting host waits on every
// top-level window, and a thread blocked in a start-up wait does not answer.
#include <windows.h>

class OwnerWindow {
  public:
    OwnerWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MarluneE2EOwner";
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        window_ =
            CreateWindowA(windowClass.lpszClassName, "Marlune test owner", WS_OVERLAPPEDWINDOW, 0,
                          0, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~OwnerWindow() { DestroyWindow(window_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND handle() const { return window_; }

  private:
    HWND window_ = nullptr;
};
