#pragma once
// The settings every rotation pass reads (angle, wrap-around) and the help button.
#include "host/plugin_state.h"
#include "ui/help_window.h"
#include "ui/ui_state.h"

class PropertyPanel {
  public:
    PropertyPanel(PluginState& state, UiState& ui, HelpWindows& help)
        : state_(state), ui_(ui), help_(help) {}

    // Registers "PropertyPanelClass" and creates the panel and its controls.
    void create(HWND main, HBRUSH background);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Shows the chain's angle and wrap-around flag (after they were set elsewhere).
    void showSettings();

  private:
    void toggleWrapAround(HWND window);
    void followSlider();
    // Applies the angle typed into the box; invalid text only restores the box.
    void applyTypedAngle();
    // Writes the stored angle into the label and the box.
    void showAngle();

    PluginState& state_;
    UiState& ui_;
    HelpWindows& help_;
};
