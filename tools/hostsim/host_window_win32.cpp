#include "host_window_win32.h"

#include <cstring>
#include <string>

#include "base/win32_handles.h"
#include "dde_server_win32.h"

namespace {

constexpr int kZoom = 4;
constexpr int kLayerZoom = 2;
constexpr int kMargin = 8;
constexpr int kLineHeight = 18;

// BITMAPINFO with room for the full 256-entry colour table.
struct IndexedBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

void textLine(HDC dc, int left, int& top, const std::string& text) {
    TextOutA(dc, left, top, text.c_str(), static_cast<int>(text.size()));
    top += kLineHeight;
}

std::string describe(const Project& project, bool current) {
    return std::string(current ? "> " : "   ") + "#" + std::to_string(project.id) + "  " +
           project.name + "  " + std::to_string(project.width) + "x" +
           std::to_string(project.height) + "  " + std::to_string(project.frameCount()) +
           " frames x " + std::to_string(project.layerCount()) + " layers";
}

}  // namespace

HostWindow::HostWindow(const HostModel& hostModel) : model(hostModel) {}

HostWindow::~HostWindow() {
    if (window != nullptr) DestroyWindow(window);
}

bool HostWindow::create(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &HostWindow::procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHostWindowClass;
    if (RegisterClassA(&windowClass) == 0) return false;
    window = CreateWindowA(kHostWindowClass, kHostWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 720, 560, nullptr, nullptr, instance, this);
    if (window == nullptr) return false;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return true;
}

LRESULT CALLBACK HostWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<HostWindow*>(create->lpCreateParams)->window = hwnd;
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT HostWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PaintScope paintScope(window);
            paint(paintScope.dc());
            return 0;
        }
        case WM_TIMER:
            if (server != nullptr) server->releaseLate(wParam);
            return 0;
        case kQuitAfterMessage:
            if (server != nullptr) server->disconnectAll();
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            window = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void HostWindow::paint(HDC dc) const {
    SetBkMode(dc, TRANSPARENT);
    int top = kMargin;
    textLine(dc, kMargin, top, "Projects:");
    for (const Project& project : model.projects)
        textLine(dc, kMargin, top, describe(project, project.id == model.currentId));
    const Project* project = model.current();
    if (project == nullptr) {
        textLine(dc, kMargin, top, "No current project");
        return;
    }
    textLine(dc, kMargin, top,
             "Current: project " + std::to_string(project->id) + ", frame " +
                 std::to_string(project->currentFrame) + " of " +
                 std::to_string(project->frameCount()) + ", layer " +
                 std::to_string(project->activeLayer) + ", delay " +
                 std::to_string(
                     project->frames[static_cast<std::size_t>(project->currentFrame - 1)].delay));
    if (server != nullptr) textLine(dc, kMargin, top, server->activity());
    top += kMargin;
    const LayerPixels composite = compositeFrame(*project, project->currentFrame);
    paintPixels(dc, *project, composite, kMargin, top, kZoom);
    // Each layer on its own, smaller, to the right of the composite.
    int left = 2 * kMargin + project->width * kZoom;
    for (int l = 0; l < project->layerCount(); ++l) {
        int labelTop = top;
        textLine(dc, left, labelTop,
                 (l == project->activeLayer ? "> layer " : "layer ") + std::to_string(l));
        paintPixels(dc, *project, project->pixels(project->currentFrame, l), left, labelTop,
                    kLayerZoom);
        left += project->width * kLayerZoom + kMargin;
    }
}

void HostWindow::paintPixels(HDC dc, const Project& project, const LayerPixels& pixels, int left,
                             int top, int zoom) const {
    const std::size_t stride = (static_cast<std::size_t>(project.width) + 3) & ~std::size_t{3};
    std::string rows(stride * static_cast<std::size_t>(project.height), '\0');
    for (int y = 0; y < project.height; ++y) {
        std::memcpy(rows.data() + static_cast<std::size_t>(project.height - 1 - y) * stride,
                    pixels.data() + static_cast<std::size_t>(y) * project.width,
                    static_cast<std::size_t>(project.width));
    }
    IndexedBitmapInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = project.width;
    info.header.biHeight = project.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    std::memcpy(info.colors, project.palette.data(), sizeof(info.colors));
    StretchDIBits(dc, left, top, project.width * zoom, project.height * zoom, 0, 0, project.width,
                  project.height, rows.data(), reinterpret_cast<const BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
}
