#include "host/commands.h"

#include <climits>

#include "base/bounded_format.h"
#include "base/log.h"

namespace {

constexpr std::size_t kNumberReplyCapacity = 128;

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi's reading (white space, optional sign, digits up to the first
// non-digit), except that a reply without digits there is no number, and one
// beyond the int range saturates instead of being undefined: the host's text
// is untrusted. `value` is written only when there is a number.
bool readLeadingInteger(const char* text, int& value) {
    while (isAsciiSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    if (*text < '0' || *text > '9') return false;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// A reply that did not come, or is not what the command form needs, is as
// good as no answer: the user is told which command it was.
bool replyFailed(const char* command, ErrorText& error) {
    error.set("Failed to request '%s' from Kelvara!\n", command);
    return false;
}

// The execute every command form starts with; names the command when the host
// does not complete it, and says so when the link found no host to send it to.
bool execute(HostLink& link, const char* command, ErrorText& error) {
    if (HostExecute(link, kImageServerItem, command)) return true;
    if (link.hostMissing)
        error.set("Kelvara is inactive!!");
    else
        error.set("Failed to request '%s' from Kelvara!\n", command);
    return false;
}

}  // namespace

bool QueryNumber(HostLink& link, const char* command, int& value, ErrorText& error) {
    if (!execute(link, command, error)) return false;
    char reply[kNumberReplyCapacity + 1] = {};
    if (!HostRequest(link, kImageServerItem, reply, kNumberReplyCapacity)) {
        return replyFailed(command, error);
    }
    reply[kNumberReplyCapacity] = '\0';
    if (!readLeadingInteger(reply, value)) return replyFailed(command, error);
    return true;
}

bool QueryText(HostLink& link, const char* command, char* destination, ErrorText& error) {
    if (!execute(link, command, error)) return false;
    // Read aside, so that a failed request leaves the destination as it was.
    char reply[kTextReplyCapacity + 1] = {};
    if (!HostRequest(link, kImageServerItem, reply, kTextReplyCapacity)) {
        return replyFailed(command, error);
    }
    copyBounded(destination, kTextReplyCapacity + 1, reply);
    return true;
}

bool SendCommand(HostLink& link, const char* command, ErrorText& error) {
    return execute(link, command, error);
}

bool SwitchProject(HostLink& link, int project, ErrorText& error) {
    char command[kCommandBytes];
    formatBounded(command, sizeof command, "SetCurrentProject(%d)", project);
    int reply = -1;
    if (!QueryNumber(link, command, reply, error)) return false;
    logFormat("ret_project = %d\n", reply);
    if (reply == project) return true;
    error.set("Failed to switch to project '%d' in Kelvara!\n", project);
    return false;
}

bool SwitchFrame(HostLink& link, int frame, ErrorText& error) {
    char command[kCommandBytes];
    formatBounded(command, sizeof command, "GotoFrame(%d)", frame);
    int reply = -1;
    if (!QueryNumber(link, command, reply, error)) return false;
    if (reply == frame) return true;
    error.set("Failed to switch to frame '%d' in Kelvara!\n", frame);
    return false;
}

bool SwitchLayer(HostLink& link, int layer, ErrorText& error) {
    char command[kCommandBytes];
    formatBounded(command, sizeof command, "SelectLayer(%d)", layer);
    int reply = -1;
    if (!QueryNumber(link, command, reply, error)) return false;
    if (reply == layer) return true;
    error.set("Failed to switch to layer '%d' in Kelvara!\n", layer);
    return false;
}
