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

    // "As new project", as the settings keep it.
    bool newProject() const;
    void showNewProject(bool checked);

  private:
    PluginState& state_;
    UiState& ui_;
};

// The Batch page's check boxes and Turns box, as the settings keep them.
struct BatchChoices {
    bool newProject = true;
    bool allLayers = true;
    bool allFrames = true;
    int turns = 0;  // 0: blank
};

class BatchPage {
  public:
    BatchPage(PluginState& state, UiState& ui) : state_(state), ui_(ui) {}

    // Registers "DataBatchPanelClass" and creates the (hidden) page.
    void create(HWND tabControl, const RECT& pageRect, HBRUSH background);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    BatchChoices choices() const;
    void showChoices(const BatchChoices& choices);

  private:
    // Repaints the preview with what the operation left displayed.
    void showResult() const;
    int readTurns() const;
    // A batch, or a turn-table sheet when the Turns box asks for one.
    void launch(HWND window);

    PluginState& state_;
    UiState& ui_;
};
