#pragma once
// The built-in manual page, carried in the program as a resource.
#include <windows.h>

#include <memory>

#include "image/indexed_image.h"

// A new 600 x 1880 image with the page's palette and pixels, owned by `owner`;
// null (with a log line) when the resource is missing or malformed.
std::unique_ptr<IndexedImage> loadManualPage(HWND owner);
