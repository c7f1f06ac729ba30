#include "host_sim_process.h"

#include <ddeml.h>

#include "host/host_link.h"

namespace {

constexpr DWORD kServeWaitMs = 15000;

HDDEDATA CALLBACK ignoreAll(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// Asked from a DDEML instance of its own, never the link under test's.
bool hostAnswers() {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ignoreAll, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
    const HCONV conversation =
        DdeConnect(instance, DdeCreateStringHandleA(instance, kHostService, CP_WINANSI),
                   DdeCreateStringHandleA(instance, kHostTopic, CP_WINANSI), nullptr);
    if (conversation != nullptr) DdeDisconnect(conversation);
    DdeUninitialize(instance);  // frees the string handles too
    return conversation != nullptr;
}

}  // namespace

std::string programFolder() {
    char path[MAX_PATH] = {};
    const std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
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
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HostSimProcess::HostSimProcess(const std::vector<std::string>& arguments) {
    const std::string program = programFolder() + "hostsim.exe";
    std::string commandLine = '"' + program + '"';
    for (const std::string& argument : arguments) commandLine += " \"" + argument + '"';
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        problem_ = "cannot start " + program + " (error " + std::to_string(GetLastError()) + ")";
        process_ = {};
        return;
    }
    const DWORD start = GetTickCount();
    while (!(serving_ = hostAnswers())) {
        DWORD code = 0;
        if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process_.hProcess, &code)) {
            problem_ = "hostsim.exe exited with code " + std::to_string(code);
            return;
        }
        if (GetTickCount() - start > kServeWaitMs) {
            problem_ = "hostsim.exe did not serve DDE within 15 s";
            return;
        }
    }
}

HostSimProcess::~HostSimProcess() {
    stop();
    if (process_.hProcess != nullptr) CloseHandle(process_.hProcess);
    if (process_.hThread != nullptr) CloseHandle(process_.hThread);
}

bool HostSimProcess::waitForExit(DWORD timeoutMs) {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool HostSimProcess::stop(DWORD timeoutMs) {
    if (process_.hProcess == nullptr || waitForExit(0)) return true;
    // Its message loop ends as after closing its window: the dump is written.
    PostThreadMessageA(process_.dwThreadId, WM_QUIT, 0, 0);
    if (waitForExit(timeoutMs)) return true;
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    return false;
}
