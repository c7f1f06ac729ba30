// hostsim.exe: the stand-in host. Parses its options, builds the start
// projects, serves DDE until its window closes, then dumps.
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "command_log.h"
#include "dde_server_win32.h"
#include "dump.h"
#include "host_window_win32.h"
#include "startup.h"

namespace {

constexpr int kExitBadOptions = 2;
constexpr int kExitStartFailed = 3;

std::string narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

std::vector<std::string> commandLineArguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return args;
    for (int i = 1; i < count; ++i) args.push_back(narrow(argv[i]));
    LocalFree(argv);
    return args;
}

std::string fullPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    return length == 0 || length >= MAX_PATH ? path : std::string(buffer, length);
}

int fail(int code, const std::string& message) {
    std::fprintf(stderr, "hostsim: %s\n", message.c_str());
    std::fflush(stderr);
    return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HostOptions options;
    std::string error;
    if (!parseHostOptions(commandLineArguments(), options, error)) {
        return fail(kExitBadOptions, error + "\n" + hostUsage());
    }
    HostModel model;
    const std::string firstPath =
        options.openFiles.empty() ? std::string() : fullPath(options.openFiles[0]);
    if (!buildStartModel(options, firstPath, model, error)) return fail(kExitBadOptions, error);
    CommandLog log(options.logFile);
    if (log.failed()) return fail(kExitBadOptions, "cannot open the log file " + options.logFile);

    HostWindow window(model);
    if (!window.create(instance)) return fail(kExitStartFailed, "cannot create the main window");
    {
        DdeServer server(model, options, window.handle(), log);
        if (!server.start(error)) return fail(kExitStartFailed, error);
        window.attach(&server);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        window.attach(nullptr);
    }
    // DDE is uninitialised by now, so the dump sees the final state.
    if (!options.dumpDir.empty() && !writeDump(model, options.dumpDir, error))
        return fail(kExitStartFailed, error);
    return 0;
}
