#include "host_sim_process.h"

#include <ddeml.h>

#include "host/host_link.h"

namespace {

constexpr DWORD kServeWaitMs = 15000;
constexpr DWORD kServePollMs = 50;

// One argument quoted the way CommandLineToArgvW and the C runtime split them.
std::string quoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

HDDEDATA CALLBACK probeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// A DDEML instance of its own, so the probe never touches the link under test.
class DdeProbe {
  public:
    DdeProbe() {
        if (DdeInitializeA(&instance_, probeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
            instance_ = 0;
            return;
        }
        service_ = DdeCreateStringHandleA(instance_, kHostService, CP_WINANSI);
        topic_ = DdeCreateStringHandleA(instance_, kHostTopic, CP_WINANSI);
    }
    ~DdeProbe() {
        if (instance_ == 0) return;
        if (service_ != nullptr) DdeFreeStringHandle(instance_, service_);
        if (topic_ != nullptr) DdeFreeStringHandle(instance_, topic_);
        DdeUninitialize(instance_);
    }
    DdeProbe(const DdeProbe&) = delete;
    DdeProbe& operator=(const DdeProbe&) = delete;

    bool answers() const {
        if (instance_ == 0) return false;
        HCONV conversation = DdeConnect(instance_, service_, topic_, nullptr);
        if (conversation == nullptr) return false;
        DdeDisconnect(conversation);
        return true;
    }

  private:
    DWORD instance_ = 0;
    HSZ service_ = nullptr;
    HSZ topic_ = nullptr;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findHostWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search.processId && lstrcmpA(className, "HostSimWindow") == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string programFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
    auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;  // 100 ns units
}

double nowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / frequency;
}

HostSimProcess::HostSimProcess(const std::vector<std::string>& arguments) {
    const std::string program = programFolder() + "hostsim.exe";
    std::string commandLine = quoteArgument(program);
    for (const std::string& argument : arguments) {
        commandLine += ' ';
        commandLine += quoteArgument(argument);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        problem_ = "cannot start " + program + " (error " + std::to_string(GetLastError()) + ")";
        process_ = {};
        return;
    }
    processId_ = process_.dwProcessId;
    waitUntilServing();
}

HostSimProcess::~HostSimProcess() {
    stop();
    if (process_.hProcess != nullptr) CloseHandle(process_.hProcess);
}

void HostSimProcess::waitUntilServing() {
    const DdeProbe probe;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kServeWaitMs) {
        if (probe.answers()) {
            serving_ = true;
            return;
        }
        if (!running()) {
            problem_ = "hostsim.exe exited with code " + std::to_string(exitCode()) +
                       " before serving DDE";
            return;
        }
        Sleep(kServePollMs);
    }
    problem_ = "hostsim.exe did not serve DDE within 15 s";
}

bool HostSimProcess::running() const {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND HostSimProcess::mainWindow() const {
    WindowSearch search = {processId_, nullptr};
    EnumWindows(findHostWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HostSimProcess::waitForExit(DWORD timeoutMs) {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

long HostSimProcess::exitCode() const {
    DWORD code = 0;
    if (process_.hProcess == nullptr || !GetExitCodeProcess(process_.hProcess, &code) ||
        code == STILL_ACTIVE)
        return -1;
    return static_cast<long>(code);
}

bool HostSimProcess::stop(DWORD timeoutMs) {
    if (process_.hProcess == nullptr || process_.hThread == nullptr) return true;
    bool ended = !running();
    if (!ended) {
        if (HWND window = mainWindow()) PostMessageA(window, WM_CLOSE, 0, 0);
        ended = waitForExit(timeoutMs);
        if (!ended) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
    }
    CloseHandle(process_.hThread);
    process_.hThread = nullptr;
    // The process handle stays open (until destruction) for exitCode().
    return ended;
}
