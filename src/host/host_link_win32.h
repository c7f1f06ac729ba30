#pragma once
// The DDEML callback of the host link, visible so that tests can feed it the
// notifications Wine never delivers (XTYP_DISCONNECT) or stray completions.
// It acts on the HostLink that the last successful DdeInitializeA of
// HostConnect belongs to.
#include "host/host_link.h"

HDDEDATA CALLBACK HostCallback(UINT type, UINT format, HCONV conversation, HSZ string1, HSZ string2,
                               HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
