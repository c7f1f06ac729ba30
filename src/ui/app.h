#pragma once
// Everything the running application holds: the host-side state, the window
// state, and one object per panel. One instance lives for the whole run.
#include "host/plugin_state.h"
#include "ui/help_window.h"
#include "ui/pass_manager_panel.h"
#include "ui/preview_panel.h"
#include "ui/property_panel.h"
#include "ui/source_pages.h"
#include "ui/ui_state.h"
#include "ui/zoom_strip.h"

struct App {
    PluginState state;
    UiState ui;
    UniqueBrush panelBackground;  // 0xF0F0F0, shared by the window classes

    PreviewPanel preview{state, ui};
    ZoomStrip zoomStrip{ui, preview};
    HelpWindows help{ui};
    PropertyPanel properties{state, ui, help};
    PassManagerPanel passManager{state, ui};
    SingleImagePage singlePage{state, ui};
    BatchPage batchPage{state, ui};
};

// Registers the main window class, creates the window, runs the message loop;
// gives the quit message's code, or 0 when the class cannot be registered.
int run(HINSTANCE instance, int showCommand);
