#pragma once
// The window side of the application's state: handles, the preview's zoom and
// panning, the checkerboard, the help window's scrolling, and whether a host
// operation is under way. The image side lives in PluginState.
#include <windows.h>

#include <memory>

#include "base/win32_handles.h"
#include "image/indexed_image.h"

struct ExportProgress;

// Sent to the Files page after a host operation, which may have replaced the source.
constexpr UINT kSourceMayHaveChanged = WM_APP + 10;

struct UiState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;

    HWND preview = nullptr;
    HWND zoomStrip = nullptr;
    HWND zoomTrackbar = nullptr;
    HWND zoomLabel = nullptr;

    HWND propertyPanel = nullptr;
    HWND angleTrackbar = nullptr;
    HWND angleLabel = nullptr;
    HWND angleBox = nullptr;  // the typed angle
    HWND wrapAroundBox = nullptr;
    HWND helpButton = nullptr;

    HWND passManager = nullptr;
    HWND passList = nullptr;
    HWND kindSelector = nullptr;
    HWND addButton = nullptr;
    HWND removeButton = nullptr;

    HWND tabControl = nullptr;
    HWND singlePage = nullptr;
    HWND batchPage = nullptr;
    HWND grabButton = nullptr;  // Single image page
    HWND sendButton = nullptr;
    HWND grabSampleButton = nullptr;  // Batch page
    HWND launchButton = nullptr;
    HWND sendStatus = nullptr;   // "Sending…" under "Send image"
    HWND batchStatus = nullptr;  // "Frame f of F, layer l of L" under "Launch process"
    HWND turnsBox = nullptr;
    HWND filesPage = nullptr;
    HWND openImageButton = nullptr;  // Files page
    HWND saveResultButton = nullptr;
    HWND saveFlowButton = nullptr;
    HWND loadFlowButton = nullptr;
    HWND recentFlows = nullptr;
    HWND sourceNote = nullptr;  // the opened file's name and size

    // Preview.
    int zoom = 1;
    int scrollX = 0;
    int scrollY = 0;
    bool dragging = false;
    int lastMouseX = 0;
    int lastMouseY = 0;
    std::unique_ptr<IndexedImage> checkerboard;
    UniqueBrush checkerBrush;

    // Help windows: one offset for all of them, kept between openings.
    int helpOffset = 0;
    bool helpDragging = false;
    int helpLastMouseX = 0;
    int helpLastMouseY = 0;
    std::unique_ptr<IndexedImage> manual;

    // Set once start-up succeeded: only then are the settings written at exit.
    bool started = false;

    // A host operation waits while dispatching messages; these keep a second
    // one from starting inside it and hold a close request until it ends.
    bool hostBusy = false;
    bool closePending = false;
    // The batch under way, which Cancel, Esc and a close ask to stop; null when none.
    ExportProgress* runningBatch = nullptr;
};
