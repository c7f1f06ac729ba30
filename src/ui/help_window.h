#pragma once
// The help windows: always-on-top views of the built-in manual page, dragged
// up and down with the mouse. Every help window shows the same page at the
// same offset, which is kept between openings.
#include "ui/ui_state.h"

class HelpWindows {
  public:
    explicit HelpWindows(UiState& ui) : ui_(ui) {}

    // Registers "DialogClass".
    void registerClass();
    // Opens one more help window.
    void open();
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void onCreate(HWND window);
    void paint(HWND window);

    UiState& ui_;
};

// The manual page offsets run from 0 to the page height less the client height.
constexpr int kHelpMaxOffset = 1880 - 560;
