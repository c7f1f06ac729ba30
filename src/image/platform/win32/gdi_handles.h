#pragma once
// On Windows the image model's handles are the real GDI and window handles.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
