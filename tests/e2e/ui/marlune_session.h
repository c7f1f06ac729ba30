#pragma once
// One run of marlune.exe under test: the stand-in host (optional), the
// application, and the handles of its windows found as a user's tools would.
#include <memory>
#include <string>
#include <vector>

#include "e2e_files.h"
#include "host_sim_process.h"
#include "image/indexed_image.h"
#include "ui_driver.h"

struct MarluneWindows {
    HWND main = nullptr;
    HWND preview = nullptr;
    HWND zoomStrip = nullptr;
    HWND propertyPanel = nullptr;
    HWND passManager = nullptr;
    HWND tabControl = nullptr;
    HWND singlePage = nullptr;
    HWND batchPage = nullptr;
    HWND passList = nullptr;
    HWND kindSelector = nullptr;
    HWND addButton = nullptr;
    HWND removeButton = nullptr;
};

class MarluneSession {
  public:
    // Starts hostsim.exe with `hostArguments` (plus --log and --dump in a
    // scratch folder) and then marlune.exe.
    explicit MarluneSession(std::vector<std::string> hostArguments);
    // marlune.exe alone, with no host.
    MarluneSession();
    ~MarluneSession() = default;

    bool ready() const { return windows_.main != nullptr; }
    // Why the session is not ready.
    const std::string& problem() const { return problem_; }
    const MarluneWindows& windows() const { return windows_; }
    ui::Program& app() { return *app_; }
    HostSimProcess* host() { return host_.get(); }
    // Stops the host so its dump is written, and reads it.
    HostDump stopHostAndReadDump();
    std::vector<std::string> hostCommands() const;
    // What the application wrote to standard output so far.
    std::string appOutput() const;

    // Builds the flow in the pass manager by kind names, appending each.
    void addPasses(const std::vector<int>& kinds);
    // Presses Grab image and waits until the import has finished.
    void grab();

  private:
    void startApp();

    TempFolder folder_;
    std::unique_ptr<HostSimProcess> host_;
    std::unique_ptr<ui::Program> app_;
    MarluneWindows windows_;
    std::string problem_;
};

// The image the host last put on the clipboard (what a grab read), or null.
std::unique_ptr<IndexedImage> clipboardImage();
// `source` run through a chain of `kinds` with the given settings, as the
// application computes it; the result is the chain's displayed image copy.
std::unique_ptr<IndexedImage> runChain(const IndexedImage& source, const std::vector<int>& kinds,
                                       int angle, bool wrapAround);
// The colour of an image pixel as 0xRRGGBB, with y counted from the top.
std::uint32_t colourAt(const IndexedImage& image, int x, int y);
// Checks the preview panel's pixels against `image` shown at `zoom` and
// offsets (sx, sy), centred when it fits, the rest checkerboard grey.
void expectPreviewShows(const ui::Pixels& screen, const IndexedImage& image, int zoom, int sx,
                        int sy);
// The folder screenshots go to (created on first use).
std::string screenshotFolder();

// Pass kind indices as the kind selector offers them.
enum PassKind {
    kZoom2x = 0,
    kZoom3x,
    kScale2x,
    kScale3x,
    kCanvas2x,
    kSpace2x,
    kRotate,
    kRotateUnzoom2x,
    kRotateUnzoom4x,
    kRotateUnzoom6x,
    kRotateUnzoom8x
};
