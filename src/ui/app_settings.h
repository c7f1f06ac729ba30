#pragma once
// The remembered settings and the running window: shown in the panels at
// start, before any image exists, and read back from them at exit.
#include "ui/app.h"

// Puts `app.settings` into the chain, the panels and the tabs.
void showSettings(App& app);
// What the window holds now, as the settings keep it.
Settings currentSettings(const App& app);
// Gives the (not yet shown) window the remembered place, moved onto a monitor
// when its title bar would not be on one; gives the show command to use.
int placeWindow(HWND window, const Settings& settings, int showCommand);
