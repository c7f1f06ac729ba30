#pragma once
#include "gdi_handles.h"
// ddeml.h needs the types of windows.h.
#include <ddeml.h>
