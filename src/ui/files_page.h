#pragma once
// The "Files" tab: an image opened from a file becomes the source as a grab
// would make it, the displayed result is saved as an indexed PNG, and flows
// are saved, loaded and offered again from the five used last.
#include <cstdint>
#include <string>
#include <vector>

#include "files/image_file.h"
#include "host/plugin_state.h"
#include "ui/pass_manager_panel.h"
#include "ui/property_panel.h"
#include "ui/ui_state.h"

class FilesPage {
  public:
    // `recentFlows` (UTF-8 paths, latest first) outlives the page: the settings keep it.
    FilesPage(PluginState& state, UiState& ui, PassManagerPanel& passes, PropertyPanel& properties,
              std::vector<std::string>& recentFlows)
        : state_(state),
          ui_(ui),
          passes_(passes),
          properties_(properties),
          recentFlows_(recentFlows) {}

    // Registers "DataFilesPanelClass" and creates the (hidden) page.
    void create(HWND tabControl, const RECT& pageRect, HBRUSH background);
    bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Makes the first image of a PNG, BMP or GIF the source and runs the flow
    // on it; a failure ends in one error box and leaves the source as it was.
    // For "Open image…", a file dropped on the window and the command line.
    void openImage(const std::wstring& path);
    // Fills the recent-flows list from `recentFlows`.
    void showRecentFlows();

  private:
    void chooseImage();
    void saveResult();
    void saveFlow();
    void chooseFlow();
    void loadRecentFlow();
    // Replaces the flow with the file's; a bad file is refused whole with a
    // box, except that a recent flow whose file has gone only leaves the list.
    void loadFlow(const std::wstring& path, bool recent);
    void rememberFlow(const std::wstring& path);
    void showSource();
    void showError(const char* caption, const std::string& message) const;
    // Whether the source is still the image opened last.
    bool sourceIsOpenedFile() const;

    PluginState& state_;
    UiState& ui_;
    PassManagerPanel& passes_;
    PropertyPanel& properties_;
    std::vector<std::string>& recentFlows_;
    PaletteAlpha fileAlpha_;            // the opened file's transparency...
    std::uint64_t fileGeneration_ = 0;  // ...while the chain's source is that file's
    std::wstring fileName_;             // its name, without the folder
};
