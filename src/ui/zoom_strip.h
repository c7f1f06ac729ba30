#pragma once
// The strip under the preview: the display zoom trackbar (1 to 16) and its label.
#include "ui/preview_panel.h"
#include "ui/ui_state.h"

class ZoomStrip {
  public:
    ZoomStrip(UiState& ui, PreviewPanel& preview) : ui_(ui), preview_(preview) {}

    // Registers "RenderCtrlPanelClass" and creates the strip and its controls.
    void create(HWND main, HBRUSH background);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Moves the slider to `zoom` (1 to 16) and zooms the preview.
    void setZoom(int zoom);

  private:
    void showZoom(int zoom);

    UiState& ui_;
    PreviewPanel& preview_;
};
