#pragma once
// A HostLink connected for one test, disconnected at its end, plus the raw
// execute-then-request step that every query is made of.
#include <string>

#include "host/host_link.h"

struct LinkSession {
    LinkSession() : connected(HostConnect(link, kHostService, kHostTopic)) {}
    ~LinkSession() { HostDisconnect(link); }
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    HostLink link;
    bool connected;
};

// The host's reply to `command` read with `capacity`; "<execute failed>" or
// "<request failed>" when a step fails.
inline std::string executeAndRead(HostLink& link, const char* command, std::size_t capacity = 256) {
    if (!HostExecute(link, kImageServerItem, command)) return "<execute failed>";
    std::string reply(capacity + 1, '\0');
    if (!HostRequest(link, kImageServerItem, reply.data(), capacity)) return "<request failed>";
    reply.resize(reply.find('\0'));
    return reply;
}
