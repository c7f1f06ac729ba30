#pragma once
// One run of marlune.exe under test: the stand-in host (optional, restartable),
// the application and its windows, and what they leave behind.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e_files.h"
#include "host_sim_process.h"
#include "marlune_windows.h"
#include "sample_dump.h"

// How marlune.exe is started.
struct Launch {
    std::string arguments;  // its command line after its name
    // APPDATA, the folder of its settings; empty: the session's own folder, so
    // that every run starts from the defaults unless a test says otherwise.
    std::string appData;
};

struct MarluneSession {
    // hostsim.exe with `hostArguments`, then marlune.exe.
    explicit MarluneSession(const std::vector<std::string>& hostArguments,
                            const Launch& launch = {});
    // marlune.exe alone, with no host: it shows the start-up error box first.
    MarluneSession();
    // marlune.exe alone, with arguments, which let it start without a host.
    struct NoHost {};
    MarluneSession(NoHost, const Launch& launch);

    // Starts the host (stopping a running one first) with --log and --dump in
    // `folder`; false with `problem` set when it does not serve.
    bool startHost(std::vector<std::string> arguments);
    // Stops the host, which writes its dump, and reads the dump.
    HostDump stopHostAndReadDump();
    // Whether the application printed `line` on standard output.
    bool printed(const std::string& line) const;
    // Presses "Grab image" (or `button`); gives the frame the host handed over.
    std::unique_ptr<IndexedImage> grab(HWND button = nullptr);
    // Waits for an error box, expects it to be the only one and to have
    // `caption`, closes it and gives its text.
    std::string takeErrorBox(const std::string& caption, DWORD timeoutMs = 10000);
    // Closes the main window; expects the program to end within `timeoutMs`, with exit code 0.
    void closeAndExpectExit(DWORD timeoutMs = 10000) const;

    TempFolder folder;  // the host's log ("host-log.txt") and dump, the application's output
    std::unique_ptr<HostSimProcess> host;
    std::unique_ptr<ui::Program> app;
    MarluneWindows w;     // `w.main` is null when the start failed...
    std::string problem;  // ...and this says why
};

// Pumps messages until `done` holds or `timeoutMs` passes; whether it held.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// The image on the clipboard (what a grab read or an export sent), or null.
std::unique_ptr<IndexedImage> clipboardImage();
// Gives the main window a client area of `width` x `height`.
void resizeClient(HWND main, int width, int height);
// Expects the preview's pixels to show `image` at `zoom` and offsets
// (sx, sy), centred when it fits, the rest checkerboard grey.
void expectPreviewShows(const ui::Pixels& screen, const IndexedImage& image, int zoom = 1,
                        int sx = 0, int sy = 0);
// Saves pixels read from the screen under the build's screenshots folder.
void screenshot(const ui::Pixels& pixels, const std::string& name);

// Kind indices as the kind selector offers them.
enum PassKind {
    kZoom2x = 0,
    kZoom3x,
    kScale2x,
    kRotate = 6,
    kRotateUnzoom2x,
    kRotateUnzoom8x = 10
};
// RotSprite in this program's terms: Scale2x three times, then rotate and shrink by 8.
inline const std::vector<int> kRotSprite = {kScale2x, kScale2x, kScale2x, kRotateUnzoom8x};
