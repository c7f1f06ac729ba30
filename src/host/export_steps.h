#pragma once
// The steps every export into the host shares: the host's counts, the new
// project, one image out through the clipboard, the frame's delay, and the
// progress and cancel checks between them.
#include <cstdint>

#include "host/export.h"

struct ExportPlan {
    bool allLayers = false;
    int newFrameCount = 1;  // the frames "New" asks for
    int sourceProject = 0;  // P
    int frameCount = 0;     // F
    int layerCount = 0;     // L
    int shownFrame = 0;     // D
    int activeLayer = 0;    // A
    int newProjectId = 0;   // N
};

// Refuses when nothing is displayed, then reads the five counts in the order
// the host expects them.
bool readHostCounts(PluginState& state, ExportPlan& plan, ErrorText& error);

// Creates the new project, names it and gives it the source's layer count.
// A cancel asked for through `progress` ends it before "New" or between two
// layers: false with the preparation's cancel message.
bool prepareNewProject(PluginState& state, ExportPlan& plan, ErrorText& error,
                       ExportProgress* progress = nullptr);

// The pairs of one export: how many went out, and how the caller follows them.
class PairRun {
  public:
    PairRun(ExportProgress* progress, int frames, int layers);

    // When a cancel was asked for, ends the export: false with the cancel
    // message. For steps between pairs that are not a pair themselves.
    bool goesOn(ErrorText& error);
    // goesOn, then reports the pair about to start (its places among the
    // frames and layers, from 1).
    bool mayStart(int framePlace, int layerPlace, ErrorText& error);
    // The displayed image of the host's `frame` and `layer` onto the
    // clipboard, then "ReceiveFrame". A host may
    // not acknowledge the receive: that is counted, and the export goes on; a
    // refusal ("ERROR...") or an image that cannot be put on the clipboard ends it.
    bool deliver(PluginState& state, HWND owner, int frame, int layer, ErrorText& error);
    // After the last pair: false when the host left receives unconfirmed.
    bool confirmed(ErrorText& error) const;

  private:
    ExportProgress* progress_;
    int frames_;
    int layers_;
    int sent_ = 0;
    int unconfirmed_ = 0;
};

// "SetCurrentDelay(%d)", which the host must answer with the delay itself.
bool setFrameDelay(HostLink& link, int delay, ErrorText& error);
