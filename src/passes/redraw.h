#pragma once
#include "gdi_handles.h"

// Invalidates the whole window and repaints it before returning.
void redrawWindowNow(HWND window);
