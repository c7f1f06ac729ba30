#pragma once
// Marlune's windows and controls, found from outside as a user's tools would:
// by class and control id. The autopilot plays a job through them and the UI
// tests drive and read them.
#include <vector>

#include "ui_driver.h"

struct MarluneWindows {
    HWND main = nullptr;
    HWND preview = nullptr;
    HWND zoomStrip = nullptr;
    HWND zoomTrackbar = nullptr;
    HWND zoomLabel = nullptr;
    HWND propertyPanel = nullptr;
    HWND angleLabel = nullptr;
    HWND angleTrackbar = nullptr;
    HWND angleBox = nullptr;
    HWND wrapAround = nullptr;
    HWND helpButton = nullptr;
    HWND passManager = nullptr;
    HWND passList = nullptr;
    HWND kindSelector = nullptr;
    HWND addButton = nullptr;
    HWND removeButton = nullptr;
    HWND tabControl = nullptr;
    HWND singlePage = nullptr;
    HWND grab = nullptr;
    HWND send = nullptr;
    HWND batchPage = nullptr;
    HWND grabSample = nullptr;
    HWND launch = nullptr;
    HWND batchStatus = nullptr;  // "Frame f of F, layer l of L" while a batch runs
    HWND turnsBox = nullptr;
    HWND filesPage = nullptr;
    HWND openImage = nullptr;
    HWND sourceNote = nullptr;  // the opened file's name and size
    HWND saveResult = nullptr;
    HWND saveFlow = nullptr;
    HWND loadFlow = nullptr;
    HWND recentFlows = nullptr;
};

// Every window below the main window "CodeBlocksWindowsApp" of `processId`,
// waiting up to `timeoutMs` for it to appear; `main` stays null when it does not.
MarluneWindows waitForMarlune(DWORD processId, DWORD timeoutMs);

// Appends passes of the given kind indices to the flow, as a user would:
// select "END", choose the kind, press Add.
void appendPasses(const MarluneWindows& w, const std::vector<int>& kinds);

// Types an angle into the box beside the angle slider and presses Enter.
void typeAngle(const MarluneWindows& w, const std::string& text);
