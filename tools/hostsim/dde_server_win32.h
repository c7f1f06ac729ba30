#pragma once
// The DDE image server: service "KELVARA", topic "ImageServer", item
// "ImageServerItem". Executes carry command texts; a request on the item
// reads the reply to the last command.
#include <windows.h>
// ddeml.h needs the types of windows.h.
#include <ddeml.h>

#include <memory>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "command_log.h"
#include "host_model.h"
#include "host_options.h"
#include "host_session.h"

// Posted to the main window once --quit-after has been reached.
inline constexpr UINT kQuitAfterMessage = WM_APP + 1;

class DdeServer {
  public:
    DdeServer(HostModel& model, const HostOptions& options, HWND window, CommandLog& log);
    ~DdeServer();
    DdeServer(const DdeServer&) = delete;
    DdeServer& operator=(const DdeServer&) = delete;

    // Initialises DDEML and registers the service; false with a reason.
    bool start(std::string& error);
    // A --late timer fired: let DDEML hand the blocked execute back to us.
    void releaseLate(UINT_PTR timer);
    void disconnectAll();
    // One line for the window: how many commands ran, the last and its reply.
    std::string activity() const;

  private:
    struct Pending {
        HCONV conversation = nullptr;
        std::string command;
        UINT_PTR timer = 0;
        bool released = false;
    };

    static HDDEDATA CALLBACK callback(UINT type, UINT format, HCONV conversation, HSZ topic,
                                      HSZ item, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
    HDDEDATA onExecute(HCONV conversation, HDDEDATA data);
    HDDEDATA onRequest(HSZ item, UINT format);
    void complete(const std::string& command);

    const HostOptions& options;
    HostSession session;
    HWND window;
    CommandLog& log;
    DWORD instance = 0;
    std::unique_ptr<DdeStringHandle> service;
    std::unique_ptr<DdeStringHandle> topic;
    std::unique_ptr<DdeStringHandle> item;
    bool registered = false;
    std::vector<HCONV> conversations;
    std::vector<Pending> pending;
    UINT_PTR nextTimer = 1;
    std::string lastCommand;
    HDDEDATA replyData = nullptr;  // the data of the last reply, owned here
    bool quitPosted = false;
};
