// hostsim_client.exe: sends each argument to the host as a command and prints
// the reply, one line per command ("<command> -> <reply>", or "<command> !
// <error code>"). A tool for trying the stand-in host by hand.
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <string>

#include "win32_handles.h"

namespace {

constexpr DWORD kTimeoutMs = 5000;

HDDEDATA CALLBACK ignoreCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

class DdeInstance {
public:
    DdeInstance() {
        if (DdeInitializeA(&id, &ignoreCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) id = 0;
    }
    ~DdeInstance() {
        if (id != 0) DdeUninitialize(id);
    }
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    DWORD id = 0;
};

std::string request(DWORD instance, HCONV conversation, HSZ item) {
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST, kTimeoutMs, nullptr);
    if (data == nullptr) return "(no reply, error " + std::to_string(DdeGetLastError(instance)) + ")";
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string text(size, '\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
    DdeFreeDataHandle(data);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    return text;
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
        HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(command.data()),
                                             static_cast<DWORD>(command.size() + 1), conversation, item.get(),
                                             CF_TEXT, XTYP_EXECUTE, kTimeoutMs, nullptr);
        if (done == nullptr) {
            std::printf("%s ! %u\n", argv[i], DdeGetLastError(instance.id));
            ++failures;
            DdeAbandonTransaction(instance.id, conversation, 0);
            continue;
        }
        std::string reply = request(instance.id, conversation, item.get());
        // Wine keeps finished transactions queued; without this the next one fails.
        DdeAbandonTransaction(instance.id, conversation, 0);
        // Show the line end so a test can see whether it was sent.
        for (std::size_t at = reply.find("\r\n"); at != std::string::npos; at = reply.find("\r\n")) {
            reply.replace(at, 2, "<CRLF>");
        }
        std::printf("%s -> %s\n", argv[i], reply.c_str());
        std::fflush(stdout);
    }
    DdeDisconnect(conversation);
    return failures == 0 ? 0 : 1;
}
