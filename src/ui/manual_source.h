#pragma once
// Where the help window gets the manual page from: the built-in page when the
// program carries one, else null (the window then shows the checkerboard).
#include <windows.h>

#include <memory>

#include "image/indexed_image.h"

std::unique_ptr<IndexedImage> loadManualPage(HWND owner);
