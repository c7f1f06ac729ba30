#pragma once
// The two tab pages: "Single image" grabs the host's current image and sends
// the result back; "Batch" grabs a sample and runs the flow over the host's
// frames and layers.
#include "host/plugin_state.h"
#include "ui/ui_state.h"

class SingleImagePage {
  public:
    SingleImagePage(PluginState& state, UiState& ui) : state_(state), ui_(ui) {}

    // Registers "DataImagePanelClass" and creates the page inside the tab control.
    void create(HWND tabControl, const RECT& pageRect, HBRUSH background);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    PluginState& state_;
    UiState& ui_;
};

class BatchPage {
  public:
    BatchPage(PluginState& state, UiState& ui) : state_(state), ui_(ui) {}

    // Registers "DataBatchPanelClass" and creates the (hidden) page.
    void create(HWND tabControl, const RECT& pageRect, HBRUSH background);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    // Repaints the preview with what the operation left displayed.
    void showResult() const;
    int readTurns() const;
    // A batch, or a turn-table sheet when the Turns box asks for one.
    void launch(HWND window);

    PluginState& state_;
    UiState& ui_;
};
