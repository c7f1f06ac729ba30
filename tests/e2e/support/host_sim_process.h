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
    // Starts hostsim.exe with `arguments` (each quoted: none may hold a double
    // quote or end in a backslash) and waits up to 15 s until it answers a
    // DdeConnect to "KELVARA"/"ImageServer".
    explicit HostSimProcess(const std::vector<std::string>& arguments = {});
    ~HostSimProcess();
    HostSimProcess(const HostSimProcess&) = delete;
    HostSimProcess& operator=(const HostSimProcess&) = delete;

    // True once the host served DDE; otherwise problem() says why.
    bool serving() const { return serving_; }
    const std::string& problem() const { return problem_; }

    // Ends its message loop and waits up to `timeoutMs` for the exit (a dump
    // of thousands of layers takes a while), then terminates it. True when it
    // ended by itself. Does nothing the second time.
    bool stop(DWORD timeoutMs = 60000);
    // Waits for an exit the host makes on its own (e.g. --quit-after).
    bool waitForExit(DWORD timeoutMs);

  private:
    PROCESS_INFORMATION process_ = {};
    bool serving_ = false;
    std::string problem_;
};

// The folder of the running program, with a trailing backslash.
std::string programFolder();
// CPU seconds (user + kernel) this process has used so far.
double processCpuSeconds();
// Milliseconds on the high-resolution monotonic clock.
double nowMs();
