#pragma once
// The stand-in host's main window: lists the projects and shows the current
// frame (all layers) zoomed, repainted after every command.
#include <windows.h>

#include "host_model.h"

class DdeServer;

inline constexpr const char* kHostWindowClass = "HostSimWindow";
inline constexpr const char* kHostWindowTitle = "KELVARA stand-in host";

class HostWindow {
  public:
    explicit HostWindow(const HostModel& model);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool create(HINSTANCE instance);
    HWND handle() const { return window; }
    // Set once the server exists; timers and --quit-after are passed to it.
    void attach(DdeServer* ddeServer) { server = ddeServer; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc) const;
    // Draws width x height indices (top row first) in the project's palette.
    void paintPixels(HDC dc, const Project& project, const LayerPixels& pixels, int left, int top,
                     int zoom) const;

    const HostModel& model;
    DdeServer* server = nullptr;
    HWND window = nullptr;
};
