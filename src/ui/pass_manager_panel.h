#pragma once
// The flow editor: a list of the passes in running order ending in "END", a
// kind selector, Add and Remove. Every edit is mirrored in the chain at once.
#include <vector>

#include "flow/flow_text.h"
#include "host/plugin_state.h"
#include "ui/ui_state.h"

// Whether the list's selection is a pass (not "END", not nothing), which Remove needs.
bool canRemoveSelected(HWND passList);

class PassManagerPanel {
  public:
    PassManagerPanel(PluginState& state, UiState& ui) : state_(state), ui_(ui) {}

    // Registers "PassMgrPanelClass" and creates the panel and its controls.
    void create(HWND main, HBRUSH background);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The flow the window holds: the listed passes, the chain's angle and wrap-around.
    Flow flow() const;
    // Lists `kinds` (the chain already holds them), "END" selected.
    void showFlow(const std::vector<int>& kinds);

  private:
    // The flow's kind indices, top to bottom, as the list holds them.
    std::vector<int> kinds() const;
    void add();
    void remove();
    // Enables Remove for a selected pass, unless a host operation runs.
    void updateRemoveButton();
    int listSelection() const;

    PluginState& state_;
    UiState& ui_;
};
