#pragma once
// Pixels travel through the clipboard as packed 8-bit DIBs (CF_DIB). The Win32
// implementation is clipboard_win32.cpp; tests may link a scripted clipboard.
#include <memory>

#include "image/indexed_image.h"

enum class ClipboardRead { Ok, OpenFailed, NoDib, Invalid };

struct ClipboardImage {
    ClipboardRead status = ClipboardRead::OpenFailed;
    std::unique_ptr<IndexedImage> image;  // set when status is Ok
    const char* problem = nullptr;        // why the DIB was refused, when Invalid
};

// Opens the clipboard with no owner, reads its CF_DIB within the block's real
// size into a new image for `owner`, and closes the clipboard on every path.
ClipboardImage readClipboardImage(HWND owner);

// Puts the bitmap on the clipboard as a packed DIB (owned by `owner` while open).
bool PutImageOnClipboard(HBITMAP bitmap, HWND owner);
