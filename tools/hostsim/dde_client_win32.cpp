// hostsim_client.exe: sends each argument to the host as a command and prints
// the reply, one line per command ("<command> -> <reply>", or "<command> !
// timeout"). Executes go asynchronously, as the application sends them, so
// --late and --hang can be watched by hand too. The argument "--close" closes
// the host's main window instead and waits until the host has gone;
// "--clipboard" describes the clipboard's CF_DIB block.
#include <windows.h>
// ddeml.h needs the types of windows.h.
#include <ddeml.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/win32_handles.h"

namespace {

constexpr DWORD kExecuteWaitMs = 10000;
constexpr DWORD kRequestTimeoutMs = 1000;

bool completed = false;

HDDEDATA CALLBACK clientCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    if (type == XTYP_XACT_COMPLETE) completed = true;
    return nullptr;
}

class DdeInstance {
  public:
    DdeInstance() {
        if (DdeInitializeA(&id, &clientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) id = 0;
    }
    ~DdeInstance() {
        if (id != 0) DdeUninitialize(id);
    }
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    DWORD id = 0;
};

// Waits for the completion, dispatching messages (DDEML reports it from there).
bool waitForCompletion() {
    const DWORD deadline = GetTickCount() + kExecuteWaitMs;
    while (!completed) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(deadline - now) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, deadline - now, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

std::string request(DWORD instance, HCONV conversation, HSZ item) {
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST,
                                         kRequestTimeoutMs, nullptr);
    if (data == nullptr)
        return "(no reply, error " + std::to_string(DdeGetLastError(instance)) + ")";
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string text(size, '\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
    DdeFreeDataHandle(data);
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

// Posts WM_CLOSE to the host's window and waits for the window to go.
bool closeHost() {
    HWND host = FindWindowA("HostSimWindow", nullptr);
    if (host == nullptr) return false;
    PostMessageA(host, WM_CLOSE, 0, 0);
    for (DWORD waited = 0; waited < kExecuteWaitMs; waited += 50) {
        if (!IsWindow(host)) return true;
        Sleep(50);
    }
    return false;
}

// "<bytes> bytes, <width>x<height>, <bits> bits, image <biSizeImage>".
std::string describeClipboardDib() {
    ClipboardSession clipboard(nullptr);
    if (!clipboard.isOpen()) return "clipboard not open";
    HANDLE data = GetClipboardData(CF_DIB);
    if (data == nullptr) return "no CF_DIB";
    const SIZE_T size = GlobalSize(data);
    GlobalLockGuard lock(data);
    if (lock.data() == nullptr || size < sizeof(BITMAPINFOHEADER)) return "unreadable CF_DIB";
    BITMAPINFOHEADER header;
    std::memcpy(&header, lock.data(), sizeof header);
    return std::to_string(size) + " bytes, " + std::to_string(header.biWidth) + "x" +
           std::to_string(header.biHeight) + ", " + std::to_string(header.biBitCount) +
           " bits, image " + std::to_string(header.biSizeImage);
}

}  // namespace

int main(int argc, char** argv) {
    DdeInstance instance;
    if (instance.id == 0) return 1;
    DdeStringHandle service(instance.id, "KELVARA");
    DdeStringHandle topic(instance.id, "ImageServer");
    DdeStringHandle item(instance.id, "ImageServerItem");
    HCONV conversation = DdeConnect(instance.id, service.get(), topic.get(), nullptr);
    if (conversation == nullptr) {
        std::printf("connect failed: %u\n", DdeGetLastError(instance.id));
        return 1;
    }
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        std::string command = argv[i];
        if (command == "--close") {
            const bool closed = closeHost();
            std::printf("%s -> %s\n", argv[i], closed ? "closed" : "still open");
            std::fflush(stdout);
            if (!closed) ++failures;
            continue;
        }
        if (command == "--clipboard") {
            std::printf("%s -> %s\n", argv[i], describeClipboardDib().c_str());
            std::fflush(stdout);
            continue;
        }
        completed = false;
        DWORD transaction = 0;
        DdeClientTransaction(reinterpret_cast<LPBYTE>(command.data()),
                             static_cast<DWORD>(command.size() + 1), conversation, item.get(),
                             CF_TEXT, XTYP_EXECUTE, TIMEOUT_ASYNC, &transaction);
        const bool done = waitForCompletion();
        // Wine keeps finished asynchronous transactions queued; without this
        // the next request fails.
        DdeAbandonTransaction(instance.id, conversation, 0);
        if (!done) {
            std::printf("%s ! timeout\n", argv[i]);
            std::fflush(stdout);
            ++failures;
            continue;
        }
        std::string reply = request(instance.id, conversation, item.get());
        // Show the line end so that its presence can be seen.
        for (std::size_t at = reply.find("\r\n"); at != std::string::npos;
             at = reply.find("\r\n")) {
            reply.replace(at, 2, "<CRLF>");
        }
        std::printf("%s -> %s\n", argv[i], reply.c_str());
        std::fflush(stdout);
    }
    DdeDisconnect(conversation);
    return failures == 0 ? 0 : 1;
}
