#pragma once
// Native builds have no GDI. The image model keeps the same field types as on
// Windows, as opaque handles; section_heap.cpp backs them with heap memory.

struct NativeBitmap;
struct NativeDc;
struct NativeWindow;

using HBITMAP = NativeBitmap*;
using HDC = NativeDc*;
using HWND = NativeWindow*;
