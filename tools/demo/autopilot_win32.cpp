// The demo's autopilot: plays a whole job through Marlune's windows as a user
// would — grab the sample, build the RotSprite-style flow, type 30 degrees,
// launch a batch into a new project — printing progress from the host's
// command log, and saving screenshots on the way.
//
//   marlune_autopilot --out DIR --log HOSTLOG   drive marlune.exe (started here)
//   marlune_autopilot --wait-host               only wait until the stand-in host serves
//   marlune_autopilot --close-host              only ask the stand-in host to exit
//   marlune_autopilot --run-marlune DIR         only run marlune.exe for the user, until it exits
#include <windows.h>
// ddeml.h needs the types of windows.h.
#include <ddeml.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "marlune_windows.h"

namespace {

constexpr int kScale2x = 2;
constexpr int kRotateUnzoom8x = 10;
constexpr const char* kAngle = "30";
constexpr DWORD kBatchLimitMs = 90000;

struct Options {
    std::string out;
    std::string log;
    bool closeHostOnly = false;
    bool waitHostOnly = false;
    bool runOnly = false;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--close-host") {
            options.closeHostOnly = true;
        } else if (arg == "--wait-host") {
            options.waitHostOnly = true;
        } else if (arg == "--run-marlune" && i + 1 < argc) {
            options.runOnly = true;
            options.out = argv[++i];
        } else if ((arg == "--out" || arg == "--log") && i + 1 < argc) {
            (arg == "--out" ? options.out : options.log) = argv[++i];
        } else {
            return false;
        }
    }
    return options.closeHostOnly || options.waitHostOnly || options.runOnly ||
           (!options.out.empty() && !options.log.empty());
}

std::string programFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Follows the host's command log and reports each frame and layer that
// arrives: "ReceiveFrame" goes to the frame and layer selected just before.
class ProgressFollower {
  public:
    explicit ProgressFollower(std::string path) : path_(std::move(path)) {}

    // Reads what was appended since the last call; prints one line per frame sent.
    void poll() {
        std::ifstream file(path_, std::ios::binary);
        if (!file) return;
        file.seekg(static_cast<std::streamoff>(offset_));
        std::string line;
        while (std::getline(file, line)) {
            if (file.eof()) break;  // a line still being written
            offset_ += line.size() + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            handle(line);
        }
    }
    int framesSent() const { return sent_; }

  private:
    void handle(const std::string& command) {
        int value = 0;
        if (std::sscanf(command.c_str(), "GotoFrame(%d)", &value) == 1) frame_ = value;
        if (std::sscanf(command.c_str(), "SelectLayer(%d)", &value) == 1) layer_ = value;
        if (std::sscanf(command.c_str(), "New(%d", &value) == 1) {
            say("  host: new project with " + std::to_string(value) + " frame(s)");
        }
        if (command == "ReceiveFrame") {
            ++sent_;
            std::printf("  [%2d] frame %d, layer %d rotated and sent\n", sent_, frame_, layer_);
            std::fflush(stdout);
        }
    }

    std::string path_;
    std::size_t offset_ = 0;
    int frame_ = 0;
    int layer_ = 0;
    int sent_ = 0;
};

void shoot(HWND window, const Options& options, const char* name) {
    ui::settle(window);
    ui::pumpFor(300);
    const std::string saved = ui::saveScreenshot(ui::readClient(window), options.out + "\\" + name);
    say("  screenshot: " + saved);
}

HDDEDATA CALLBACK ignoreDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// Marlune connects once at start-up, so the host must be serving before it starts.
bool waitForHost(DWORD limitMs) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ignoreDde, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
    HSZ service = DdeCreateStringHandleA(instance, "KELVARA", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "ImageServer", CP_WINANSI);
    bool serving = false;
    for (const DWORD start = GetTickCount(); !serving && GetTickCount() - start < limitMs;) {
        if (HCONV conversation = DdeConnect(instance, service, topic, nullptr)) {
            DdeDisconnect(conversation);
            serving = true;
        } else {
            ui::pumpFor(200);
        }
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return serving;
}

bool closeHost() {
    HWND host = ui::findTopLevel("HostSimWindow");
    if (host == nullptr) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(host, &processId);
    PostMessageA(host, WM_CLOSE, 0, 0);
    return ui::waitForNoTopLevel("HostSimWindow", processId, 15000);
}

// Waits until the operation a button started has finished: its buttons are
// disabled while it runs and enabled again afterwards.
bool waitForOperation(HWND button, ProgressFollower& progress, DWORD limitMs) {
    const DWORD start = GetTickCount();
    ui::waitForEnabled(button, false, 3000);
    while (!ui::waitForEnabled(button, true, 50)) {
        progress.poll();
        if (GetTickCount() - start > limitMs) return false;
    }
    progress.poll();
    return true;
}

// marlune.exe with settings of its own in the output folder: the demo starts
// from the defaults, and shows what Marlune remembered. (Wine sets APPDATA
// from its registry for a program started from Linux, so it is set here.)
std::unique_ptr<ui::Program> startMarlune(const Options& options) {
    const std::string settingsFolder = options.out + "\\settings";
    CreateDirectoryA(settingsFolder.c_str(), nullptr);
    return std::make_unique<ui::Program>(programFolder() + "marlune.exe", "",
                                         options.out + "\\marlune.out",
                                         std::vector<std::string>{"APPDATA=" + settingsFolder});
}

int drive(const Options& options) {
    ProgressFollower progress(options.log);
    if (!waitForHost(20000)) {
        say("autopilot: the stand-in host is not serving");
        return 1;
    }
    say("autopilot: starting marlune.exe");
    const std::unique_ptr<ui::Program> started = startMarlune(options);
    const ui::Program& app = *started;
    const MarluneWindows w =
        app.started() ? waitForMarlune(app.processId(), 20000) : MarluneWindows{};
    HWND main = w.main;
    if (main == nullptr) {
        say("autopilot: Marlune's window did not appear");
        return 1;
    }
    shoot(main, options, "01-start");

    say("autopilot: Batch tab, \"Grab sample image\"");
    ui::selectTab(w.tabControl, 1);
    ui::postClick(w.grabSample);
    if (!waitForOperation(w.grabSample, progress, 20000)) return 1;

    say("autopilot: building the flow Scale2x, Scale2x, Scale2x, RotateUnzoom8x");
    appendPasses(w, {kScale2x, kScale2x, kScale2x, kRotateUnzoom8x});
    say("autopilot: rotation angle " + std::string(kAngle) + " degrees, typed beside the slider");
    typeAngle(w, kAngle);
    shoot(main, options, "02-flow-at-30-degrees");

    say("autopilot: \"Launch process\" (new project, all layers, all frames)");
    ui::postClick(w.launch);
    // "Launch process" turns into "Cancel" and stays enabled; the grab button tells the end.
    if (!waitForOperation(w.grabSample, progress, kBatchLimitMs)) {
        say("autopilot: the batch did not finish in time");
        return 1;
    }
    const ui::MessageBoxInfo box = ui::waitForMessageBox(app.processId(), 500);
    if (box.window != nullptr) {
        say("autopilot: Marlune reported an error: " + box.text);
        ui::closeMessageBox(box.window);
        return 1;
    }
    say("autopilot: batch done, " + std::to_string(progress.framesSent()) +
        " frame-layer pairs sent");
    shoot(main, options, "03-after-batch");

    say("autopilot: closing Marlune");
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!app.waitForExit(15000)) return 1;
    // With Marlune gone nothing covers the host's window (Xvfb has no window manager).
    if (HWND host = ui::findTopLevel("HostSimWindow")) shoot(host, options, "04-host");
    say("autopilot: closing the stand-in host (it writes its projects)");
    return closeHost() && progress.framesSent() > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(
            stderr,
            "usage: marlune_autopilot --out DIR --log HOSTLOG | --wait-host | --close-host | "
            "--run-marlune DIR\n");
        return 2;
    }
    if (options.closeHostOnly) return closeHost() ? 0 : 1;
    if (options.waitHostOnly) return waitForHost(20000) ? 0 : 1;
    if (options.runOnly) {
        const std::unique_ptr<ui::Program> app = startMarlune(options);
        return app->started() && app->waitForExit(INFINITE) ? static_cast<int>(app->exitCode()) : 1;
    }
    return drive(options);
}
