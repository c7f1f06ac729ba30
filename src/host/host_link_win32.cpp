// HostLink on DDEML: one client conversation, executes sent asynchronously and
// waited for while the thread's messages keep being dispatched.
//
// What Wine 8's DDEML does that shapes this file (README, "Notes on Wine"):
// - Transaction ids come from one 16-bit counter per process, shared by
//   executes and requests. XTYP_XACT_COMPLETE carries the id as a signed
//   32-bit value in a 64-bit word: from id 0x8000 on (the 16385th execute
//   when each is followed by one request) it arrives sign-extended, so only
//   its low 32 bits equal the id DdeClientTransaction gave; and after 65536
//   transactions the id is 0 again.
// - An acknowledgement is matched to the oldest open transaction of its
//   conversation, so a late one could complete a later execute; a request
//   that timed out could likewise be answered during a later one. A failed
//   transaction therefore ends the conversation.
// - Completed asynchronous transactions stay queued until abandoned.
// - A second conversation to the same service and topic is refused within one
//   instance: connecting again takes a fresh DdeInitialize.
#include "host/host_link_win32.h"

#include <cstring>

#include "base/win32_handles.h"

namespace {

constexpr UINT kCodePage = CP_WINANSI;
constexpr DWORD kRequestTimeoutMs = 1000;
constexpr int kRequestAttempts = 5;
constexpr DWORD kExecuteWaitMs = 10000;

// DDEML's callback carries no user pointer: the link HostConnect initialised.
HostLink* callbackLink = nullptr;

void freeNameHandles(HostLink& link) {
    if (link.serviceHandle == nullptr || link.topicHandle == nullptr) return;
    DdeFreeStringHandle(link.instance, link.serviceHandle);
    DdeFreeStringHandle(link.instance, link.topicHandle);
    link.serviceHandle = nullptr;
    link.topicHandle = nullptr;
}

// Ends the conversation and the DDEML instance; the names stay for connecting
// again. A host that still pumps messages answers the terminate at once; one
// whose process no longer does keeps DdeDisconnect waiting up to 10 s.
void closeInstance(HostLink& link) {
    if (link.conversation != nullptr) {
        DdeDisconnect(link.conversation);
        link.conversation = nullptr;
    }
    freeNameHandles(link);
    DdeUninitialize(link.instance);
    link.instance = 0;
    link.waiting = false;
    if (callbackLink == &link) callbackLink = nullptr;
}

bool connectAgain(HostLink& link) {
    if (link.service == nullptr || link.topic == nullptr) return false;  // closed for good
    closeInstance(link);
    return HostConnect(link, link.service, link.topic);
}

// Sleeps until the thread has a message or the deadline passes, and dispatches
// one message per wake-up; the completion arrives from inside DispatchMessageA.
// Elapsed time is measured by unsigned difference so a tick-count wrap during
// the wait does not end it early.
void waitForCompletion(HostLink& link) {
    const DWORD start = GetTickCount();
    while (!link.acknowledged) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed > kExecuteWaitMs) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, kExecuteWaitMs - elapsed, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

enum class Execute { Completed, NotStarted, NotCompleted };

// Sends the execute and waits for its own completion.
Execute executeOnce(HostLink& link, const char* item, const char* command) {
    const DdeStringHandle itemHandle(link.instance, item);
    // The terminating NUL travels with the command.
    const DWORD length = static_cast<DWORD>(std::strlen(command) + 1);
    DWORD transaction = 0;
    const HDDEDATA started = DdeClientTransaction(
        reinterpret_cast<LPBYTE>(const_cast<char*>(command)), length, link.conversation,
        itemHandle.get(), CF_TEXT, XTYP_EXECUTE, TIMEOUT_ASYNC, &transaction);
    // The host is gone: the command never reached it.
    if (started == nullptr) return Execute::NotStarted;
    link.pendingTransaction = transaction;
    link.acknowledged = false;
    link.waiting = true;
    waitForCompletion(link);
    link.waiting = false;
    // Without this only the first execute of a conversation would complete.
    DdeAbandonTransaction(link.instance, link.conversation, 0);
    return link.acknowledged ? Execute::Completed : Execute::NotCompleted;
}

}  // namespace

HDDEDATA CALLBACK HostCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR data1,
                               ULONG_PTR) {
    if (callbackLink == nullptr) return nullptr;
    HostLink& link = *callbackLink;
    switch (type) {
        case XTYP_XACT_COMPLETE:
            // Only the execute now waiting counts, whatever status the host gave.
            // The id is compared in its 32 bits: Wine sign-extends it.
            if (link.waiting && static_cast<DWORD>(data1) == link.pendingTransaction)
                link.acknowledged = true;
            break;
        case XTYP_DISCONNECT:
            link.conversation = nullptr;
            freeNameHandles(link);
            break;
        default:
            break;
    }
    return nullptr;
}

bool HostConnect(HostLink& link, const char* service, const char* topic) {
    link.service = service;
    link.topic = topic;
    link.hostMissing = true;
    if (DdeInitializeA(&link.instance, HostCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        link.instance = 0;
        return false;
    }
    callbackLink = &link;
    link.serviceHandle = DdeCreateStringHandleA(link.instance, service, kCodePage);
    link.topicHandle = DdeCreateStringHandleA(link.instance, topic, kCodePage);
    link.conversation = DdeConnect(link.instance, link.serviceHandle, link.topicHandle, nullptr);
    link.hostMissing = link.conversation == nullptr;
    if (link.conversation != nullptr) return true;
    // The instance stays initialised; HostDisconnect uninitialises it.
    if (link.serviceHandle != nullptr) DdeFreeStringHandle(link.instance, link.serviceHandle);
    if (link.topicHandle != nullptr) DdeFreeStringHandle(link.instance, link.topicHandle);
    link.serviceHandle = nullptr;
    link.topicHandle = nullptr;
    return false;
}

void HostDisconnect(HostLink& link) {
    closeInstance(link);
    link.service = nullptr;
    link.topic = nullptr;
}

bool HostRequest(HostLink& link, const char* item, char* buffer, std::size_t capacity) {
    buffer[0] = '\0';
    // Wine answers a request without conversation with no data and no error,
    // which would read as an empty reply.
    if (link.conversation == nullptr) return false;
    HDDEDATA reply = nullptr;
    {
        const DdeStringHandle itemHandle(link.instance, item);
        for (int attempt = 1; attempt <= kRequestAttempts && reply == nullptr; ++attempt) {
            reply = DdeClientTransaction(nullptr, 0, link.conversation, itemHandle.get(), CF_TEXT,
                                         XTYP_REQUEST, kRequestTimeoutMs, nullptr);
            if (reply == nullptr && DdeGetLastError(link.instance) == DMLERR_NO_ERROR)
                return true;  // an empty reply
        }
    }
    if (reply == nullptr) {
        closeInstance(link);
        return false;
    }
    const DdeDataHandle data(reply);
    const DWORD size = DdeGetData(data.get(), nullptr, 0, 0);
    const std::size_t count = size < capacity ? size : capacity;
    DdeGetData(data.get(), reinterpret_cast<LPBYTE>(buffer), static_cast<DWORD>(count), 0);
    buffer[count] = '\0';
    // Only a trailing CR LF goes; nothing else is trimmed.
    const std::size_t length = std::strlen(buffer);
    if (length >= 2 && buffer[length - 2] == '\r') buffer[length - 2] = '\0';
    return true;
}

bool HostExecute(HostLink& link, const char* item, const char* command) {
    if (link.conversation == nullptr && !connectAgain(link)) return false;
    Execute outcome = executeOnce(link, item, command);
    // Wine does not tell a client that its host quit, so the conversation of a
    // host that was closed and started again looks alive until used. The
    // command did not reach anyone: it goes once to whichever host answers now.
    if (outcome == Execute::NotStarted) {
        if (!connectAgain(link)) return false;
        outcome = executeOnce(link, item, command);
    }
    if (outcome == Execute::Completed) return true;
    closeInstance(link);
    return false;
}
