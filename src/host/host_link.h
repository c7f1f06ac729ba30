#pragma once
// The one DDE client conversation with the host. Commands go as execute
// transactions, replies come back from request transactions, both on the item
// "ImageServerItem" in CF_TEXT. The DDEML implementation is host_link_win32.cpp;
// tests may link a stand-in host in its place: it provides the four functions
// below and may set `hostMissing` to play a host that cannot be reached.
#include <cstddef>

#include "dde_handles.h"

inline constexpr const char* kHostService = "KELVARA";
inline constexpr const char* kHostTopic = "ImageServer";
inline constexpr const char* kImageServerItem = "ImageServerItem";

struct HostLink {
    // Read by the command layer: the last attempt to connect found no host.
    bool hostMissing = false;

    // The DDEML side, used by host_link_win32.cpp only.
    const char* service = nullptr;  // names HostConnect was given, kept to connect again
    const char* topic = nullptr;
    DWORD instance = 0;
    HCONV conversation = nullptr;
    HSZ serviceHandle = nullptr;
    HSZ topicHandle = nullptr;
    bool waiting = false;          // an execute is waiting for its completion...
    DWORD pendingTransaction = 0;  // ...whose id is this (any value, 0 included)
    bool acknowledged = false;
};

// Initialises DDEML as a client and opens the conversation.
bool HostConnect(HostLink& link, const char* service, const char* topic);
// Closes the conversation (if any) and uninitialises DDEML.
void HostDisconnect(HostLink& link);
// Reads the item's reply into buffer (capacity + 1 bytes), without a trailing
// CR LF. Up to 5 attempts of 1000 ms. The buffer is empty after a failure.
bool HostRequest(HostLink& link, const char* item, char* buffer, std::size_t capacity);
// Sends a command and waits up to 10 s for the host to complete it, dispatching
// the thread's messages meanwhile. True when that very execute completed.
// A conversation on which a transaction failed is dropped at once, so that no
// late answer of it can be taken for a later command; the next execute then
// connects again first, and without a host gives false with `hostMissing` set.
// One that could not be sent at all (its host quit) goes once more on a new
// conversation, so a host started again is found by the next command.
bool HostExecute(HostLink& link, const char* item, const char* command);
