#pragma once
// Pixels travel through the clipboard as packed 8-bit DIBs (CF_DIB). The Win32
// implementation is clipboard_win32.cpp; tests may link a clipboard of their own.
#include <cstdint>
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

// Puts the image on the clipboard as a packed DIB (owned by `owner` while open).
bool PutImageOnClipboard(const IndexedImage& image, HWND owner);

// Changes whenever anything is put on the clipboard, by any program: an import
// reads only an image that the host put there after it was asked to.
std::uint32_t clipboardSequenceNumber();
