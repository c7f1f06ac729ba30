#pragma once
// The stand-in host for end-to-end tests: hostsim.exe, started from the folder
// of the running test program (all programs are built into <build>/bin).
//
//   HostSimProcess host({"--sample", "--log", folder.file("log.txt")});
//   ASSERT_TRUE(host.serving()) << host.problem();
//   ... talk to "KELVARA" ...
//   host.stop();   // or let the destructor do it; --dump files exist after stop
#include <string>
#include <vector>

#include <windows.h>

class HostSimProcess {
  public:
    // Starts hostsim.exe with `arguments` (quoted as needed) and waits up to
    // ~15 s until it answers a DdeConnect to "KELVARA"/"ImageServer".
    explicit HostSimProcess(const std::vector<std::string>& arguments = {});
    // Stops it as stop() does.
    ~HostSimProcess();
    HostSimProcess(const HostSimProcess&) = delete;
    HostSimProcess& operator=(const HostSimProcess&) = delete;

    // True once the host served DDE; otherwise problem() says why.
    bool serving() const { return serving_; }
    const std::string& problem() const { return problem_; }
    // Still running (false also before a start or after stop).
    bool running() const;
    DWORD processId() const { return processId_; }
    // Its top-level window of class "HostSimWindow", or null.
    HWND mainWindow() const;

    // Posts WM_CLOSE to the main window and waits up to `timeoutMs` for the
    // exit; terminates the process if it did not end. True when it ended by
    // itself. Does nothing the second time.
    bool stop(DWORD timeoutMs = 10000);
    // Waits for an exit the host makes on its own (e.g. --quit-after).
    bool waitForExit(DWORD timeoutMs);
    // Exit code after the process ended, -1 before.
    long exitCode() const;

  private:
    void waitUntilServing();

    PROCESS_INFORMATION process_ = {};
    DWORD processId_ = 0;
    bool serving_ = false;
    std::string problem_;
};

// The folder of the running program, with a trailing backslash.
std::string programFolder();
// CPU seconds (user + kernel) this process has used so far.
double processCpuSeconds();
// Milliseconds on the high-resolution monotonic clock.
double nowMs();
