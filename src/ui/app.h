#pragma once
// Everything the running application holds: the host-side state, the window
// state, and one object per panel. One instance lives for the whole run.
#include <string>

#include "host/plugin_state.h"
#include "ui/files_page.h"
#include "ui/help_window.h"
#include "ui/pass_manager_panel.h"
#include "ui/preview_panel.h"
#include "ui/property_panel.h"
#include "ui/settings.h"
#include "ui/source_pages.h"
#include "ui/ui_state.h"
#include "ui/zoom_strip.h"

struct App {
    PluginState state;
    UiState ui;
    UniqueBrush panelBackground;  // 0xF0F0F0, shared by the window classes
    Settings settings;            // as read at start; the recent flows kept current
    std::wstring settingsPath;    // empty: nothing is read or written
    std::wstring startImage;      // the image named on the command line, if any

    PreviewPanel preview{state, ui};
    ZoomStrip zoomStrip{ui, preview};
    HelpWindows help{ui};
    PropertyPanel properties{state, ui, help};
    PassManagerPanel passManager{state, ui};
    SingleImagePage singlePage{state, ui};
    BatchPage batchPage{state, ui};
    FilesPage filesPage{state, ui, passManager, properties, settings.recentFlows};
};

// Registers the main window class, creates the window, runs the message loop;
// gives the quit message's code, or 0 when the class cannot be registered.
// With a `startImage` the host is not required: the image is opened at once.
int run(HINSTANCE instance, int showCommand, const std::wstring& startImage);

// Selects source tab `tab` (0 "Single image", 1 "Batch", 2 "Files") and shows
// its page alone.
void showSourcePage(const UiState& ui, int tab);
