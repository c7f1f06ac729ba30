#pragma once
// The preview: the displayed image at a whole-number zoom, centred on a grey
// checkerboard when smaller than the panel, panned by dragging when larger.
// It copies only the visible part from the image's own drawing context and
// lets the copy replicate pixels; no zoomed image is ever built.
#include "host/plugin_state.h"
#include "ui/ui_state.h"

class PreviewPanel {
  public:
    PreviewPanel(PluginState& state, UiState& ui) : state_(state), ui_(ui) {}

    // Registers "RenderPanelClass" and creates the panel in `main`.
    void create(HWND main);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Moves the offsets against a mouse movement and clamps them.
    void scrollBy(int dx, int dy, bool redraw);
    void setDisplayZoom(int zoom);

    // The 8 x 8 two-grey tile and the pattern brush made from it.
    void createCheckerboard(HWND owner);
    // Brush first, then the image it was made from.
    void destroyCheckerboard();

  private:
    void paint(HDC dc);
    void fillChecker(HDC dc, int left, int top, int right, int bottom) const;

    PluginState& state_;
    UiState& ui_;
};
