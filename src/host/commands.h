#pragma once
// The host's command forms. Every command is an execute on "ImageServerItem";
// queries then read the reply with a request.
#include <cstddef>

#include "host/error_text.h"
#include "host/host_link.h"

constexpr std::size_t kCommandBytes = 128;       // a command holds at most 127 characters
constexpr std::size_t kTextReplyCapacity = 256;  // a text reply's destination holds 257 bytes

// Execute + request; the reply read as atoi reads it. A request that fails,
// or a reply with no digits after white space and sign, gives false.
bool QueryNumber(HostLink& link, const char* command, int& value, ErrorText& error);
// Execute + request into `destination` (kTextReplyCapacity + 1 bytes), which a
// failure leaves as it was. An empty reply is the empty text.
bool QueryText(HostLink& link, const char* command, char* destination, ErrorText& error);
// Execute only.
bool SendCommand(HostLink& link, const char* command, ErrorText& error);

// "SetCurrentProject(%d)", "GotoFrame(%d)", "SelectLayer(%d)": true only when
// the host answers with the number asked for.
bool SwitchProject(HostLink& link, int project, ErrorText& error);
bool SwitchFrame(HostLink& link, int frame, ErrorText& error);
bool SwitchLayer(HostLink& link, int layer, ErrorText& error);
