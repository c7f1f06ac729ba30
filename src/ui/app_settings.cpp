#include "ui/app_settings.h"

#include <commctrl.h>

#include <algorithm>

#include "flow/flow_text.h"
#include "ui/main_layout.h"

namespace {

// The least width of the title bar that must show on a monitor to grab it.
constexpr int kVisibleCaption = 100;

int clampedInto(int start, int length, int least, int most) {
    return std::max(least, std::min(start, most - length));
}

// `wanted` as it is when its title bar shows on a monitor's work area; else
// moved (and shrunk when larger) into the work area of the nearest monitor.
RECT keptOnAMonitor(RECT wanted) {
    const int captionHeight = GetSystemMetrics(SM_CYCAPTION);
    const RECT caption{wanted.left, wanted.top, wanted.right, wanted.top + captionHeight};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&caption, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT shown;
    if (IntersectRect(&shown, &caption, &work) && shown.right - shown.left >= kVisibleCaption &&
        shown.top == caption.top) {
        return wanted;
    }
    const int width = std::max<int>(
        kMinimumWidth, std::min<LONG>(wanted.right - wanted.left, work.right - work.left));
    const int height = std::max<int>(
        kMinimumHeight, std::min<LONG>(wanted.bottom - wanted.top, work.bottom - work.top));
    const int left = clampedInto(wanted.left, width, work.left, work.right);
    const int top = clampedInto(wanted.top, height, work.top, work.bottom);
    return {left, top, left + width, top + height};
}

}  // namespace

void showSettings(App& app) {
    const Settings& settings = app.settings;
    applyFlow(app.state.chain, app.ui.preview, settings.flow);
    app.passManager.showFlow(settings.flow.kinds);
    app.properties.showSettings();
    app.zoomStrip.setZoom(settings.zoom);
    app.singlePage.showNewProject(settings.singleNewProject);
    app.batchPage.showChoices(
        {settings.batchNewProject, settings.allLayers, settings.allFrames, settings.turns});
    showSourcePage(app.ui, settings.sourceTab);
    app.filesPage.showRecentFlows();
}

Settings currentSettings(const App& app) {
    Settings settings;
    settings.flow = app.passManager.flow();
    settings.zoom = app.ui.zoom;
    settings.sourceTab = static_cast<int>(SendMessageW(app.ui.tabControl, TCM_GETCURSEL, 0, 0));
    settings.singleNewProject = app.singlePage.newProject();
    const BatchChoices batch = app.batchPage.choices();
    settings.batchNewProject = batch.newProject;
    settings.allLayers = batch.allLayers;
    settings.allFrames = batch.allFrames;
    settings.turns = batch.turns;
    settings.recentFlows = app.settings.recentFlows;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(app.ui.mainWindow, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        const bool maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                               (placement.showCmd == SW_SHOWMINIMIZED &&
                                (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
        settings.window = WindowPlace{normal.left, normal.top, normal.right - normal.left,
                                      normal.bottom - normal.top, maximized};
    }
    return settings;
}

int placeWindow(HWND window, const Settings& settings, int showCommand) {
    if (!settings.window) return showCommand;
    const WindowPlace& saved = *settings.window;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = SW_HIDE;
    placement.rcNormalPosition =
        keptOnAMonitor({saved.x, saved.y, saved.x + saved.width, saved.y + saved.height});
    SetWindowPlacement(window, &placement);
    const bool plainShow =
        showCommand == SW_SHOWDEFAULT || showCommand == SW_SHOWNORMAL || showCommand == SW_SHOW;
    return saved.maximized && plainShow ? SW_SHOWMAXIMIZED : showCommand;
}
