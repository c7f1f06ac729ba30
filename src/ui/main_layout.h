#pragma once
// Where the main window's panels go for a client area of W x H.

// The smallest outer size the window can be given.
constexpr int kMinimumWidth = 700;
constexpr int kMinimumHeight = 560;

struct PanelPlace {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const PanelPlace&, const PanelPlace&) = default;
};

struct MainLayout {
    PanelPlace preview;
    PanelPlace zoomStrip;
    PanelPlace propertyPanel;
    int passManagerX = 0, passManagerY = 0;  // keeps its own size
    PanelPlace tabControl;
};

inline MainLayout mainLayoutFor(int width, int height) {
    MainLayout layout;
    layout.preview = {10, 10, width - 230, height - 210};
    layout.zoomStrip = {10, height - 190, width - 230, 30};
    layout.propertyPanel = {10, height - 150, width - 230, 140};
    layout.passManagerX = width - 210;
    layout.passManagerY = 10;
    layout.tabControl = {width - 210, height - 230, 200, 220};
    return layout;
}
