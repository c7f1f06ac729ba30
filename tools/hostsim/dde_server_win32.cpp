#include "dde_server_win32.h"

#include <algorithm>

#include "clipboard_win32.h"
#include "host_commands.h"

namespace {

// DDEML callbacks carry no context; one server runs per process.
DdeServer* activeServer = nullptr;

// Command texts are short; anything longer is cut here, so a hostile client
// cannot make the host copy unbounded data.
constexpr DWORD kMaxCommandBytes = 64 * 1024;

// The command text of an execute: the data up to its first NUL, bounded by the
// data's own size and kMaxCommandBytes.
std::string commandText(HDDEDATA data) {
    const DWORD size = std::min(DdeGetData(data, nullptr, 0, 0), kMaxCommandBytes);
    std::string text(size, '\0');
    if (size > 0) DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

}  // namespace

DdeServer::DdeServer(HostModel& hostModel, const HostOptions& hostOptions, HWND mainWindow,
                     CommandLog& commandLog)
    : options(hostOptions), session(hostModel, hostOptions), window(mainWindow), log(commandLog) {}

DdeServer::~DdeServer() {
    for (const Pending& p : pending) KillTimer(window, p.timer);
    if (instance == 0) return;
    disconnectAll();
    if (registered) DdeNameService(instance, service->get(), nullptr, DNS_UNREGISTER);
    if (replyData != nullptr) DdeFreeDataHandle(replyData);
    item.reset();
    topic.reset();
    service.reset();
    DdeUninitialize(instance);
    activeServer = nullptr;
}

bool DdeServer::start(std::string& error) {
    activeServer = this;
    const UINT status = DdeInitializeA(&instance, &DdeServer::callback,
                                       APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES |
                                           CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                                       0);
    if (status != DMLERR_NO_ERROR) {
        instance = 0;
        error = "DdeInitialize failed with " + std::to_string(status);
        return false;
    }
    service = std::make_unique<DdeStringHandle>(instance, "KELVARA");
    topic = std::make_unique<DdeStringHandle>(instance, "ImageServer");
    item = std::make_unique<DdeStringHandle>(instance, "ImageServerItem");
    registered = DdeNameService(instance, service->get(), nullptr, DNS_REGISTER) != nullptr;
    if (!registered) {
        error = "DdeNameService failed with " + std::to_string(DdeGetLastError(instance));
        return false;
    }
    return true;
}

void DdeServer::disconnectAll() {
    for (HCONV conversation : conversations) DdeDisconnect(conversation);
    conversations.clear();
}

void DdeServer::releaseLate(UINT_PTR timer) {
    KillTimer(window, timer);
    for (Pending& p : pending) {
        if (p.timer != timer) continue;
        p.released = true;
        // DDEML calls back with the blocked execute, which onExecute completes.
        DdeEnableCallback(instance, p.conversation, EC_ENABLEALL);
        return;
    }
}

HDDEDATA CALLBACK DdeServer::callback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                      HSZ hsz2, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    DdeServer* self = activeServer;
    if (self == nullptr) return nullptr;
    switch (type) {
        case XTYP_CONNECT:
            return reinterpret_cast<HDDEDATA>(
                static_cast<ULONG_PTR>(DdeCmpStringHandles(hsz1, self->topic->get()) == 0 &&
                                       DdeCmpStringHandles(hsz2, self->service->get()) == 0));
        case XTYP_CONNECT_CONFIRM:
            self->conversations.push_back(conversation);
            return nullptr;
        case XTYP_DISCONNECT:
            std::erase(self->conversations, conversation);
            std::erase_if(self->pending,
                          [&](const Pending& p) { return p.conversation == conversation; });
            return nullptr;
        case XTYP_EXECUTE:
            return self->onExecute(conversation, data);
        case XTYP_REQUEST:
            return self->onRequest(hsz2, format);
        default:
            return nullptr;
    }
}

HDDEDATA DdeServer::onExecute(HCONV conversation, HDDEDATA data) {
    const auto waiting = std::find_if(pending.begin(), pending.end(), [&](const Pending& p) {
        return p.conversation == conversation;
    });
    if (waiting != pending.end()) {
        if (!waiting->released) return CBR_BLOCK;
        const std::string command = waiting->command;
        pending.erase(waiting);
        complete(command);
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
    }

    const std::string command = commandText(data);
    log.write(command);
    // Never re-enabled: the client waits out its own deadline.
    if (hangsOn(options, command)) return CBR_BLOCK;
    const int delay = lateDelayFor(options, command);
    if (delay >= 0) {
        Pending p;
        p.conversation = conversation;
        p.command = command;
        p.timer = SetTimer(window, nextTimer++, static_cast<UINT>(delay), nullptr);
        pending.push_back(p);
        return CBR_BLOCK;
    }
    complete(command);
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
}

void DdeServer::complete(const std::string& command) {
    WindowClipboard clipboard(window);
    session.complete(command, clipboard);
    lastCommand = command;
    if (!options.noRedraw) InvalidateRect(window, nullptr, TRUE);
}

std::string DdeServer::activity() const {
    constexpr std::size_t kShown = 60;
    if (session.commandsDone() == 0) return "Waiting for commands";
    const std::string* withReply = session.reply();
    std::string reply = withReply != nullptr ? withReply->substr(0, withReply->find("\r\n"))
                                             : std::string("(no data)");
    if (reply.size() > kShown) reply = reply.substr(0, kShown) + "...";
    std::string command =
        lastCommand.size() > kShown ? lastCommand.substr(0, kShown) + "..." : lastCommand;
    return "Commands: " + std::to_string(session.commandsDone()) + ", last: " + command + " -> " +
           reply;
}

HDDEDATA DdeServer::onRequest(HSZ requestedItem, UINT format) {
    if (format != CF_TEXT || DdeCmpStringHandles(requestedItem, item->get()) != 0) return nullptr;
    // --quit-after: the last command's reply is still given (posting the quit
    // at its execute raced the client's request), then the host goes.
    if (session.quitDue() && !quitPosted) {
        quitPosted = true;
        PostMessageA(window, kQuitAfterMessage, 0, 0);
    }
    // --no-data: the client's request is answered with no data at all.
    const std::string* reply = session.reply();
    if (reply == nullptr) return nullptr;
    // Wine's DDEML never frees a reply handle it was given, so a host making
    // one per request runs out of global handles after about 21800 round
    // trips. One handle owned here, replaced per reply, avoids that; DDEML
    // copies the data out before the next request comes.
    if (replyData != nullptr) DdeFreeDataHandle(replyData);
    replyData = DdeCreateDataHandle(
        instance, reinterpret_cast<LPBYTE>(const_cast<char*>(reply->data())),
        static_cast<DWORD>(reply->size() + 1), 0, item->get(), CF_TEXT, HDATA_APPOWNED);
    return replyData;
}
