// The clipboard side of import and export: CF_DIB in, CF_DIB out.
#include "host/clipboard.h"

#include "base/win32_handles.h"
#include "host/packed_dib_writer.h"
#include "image/packed_dib.h"

ClipboardImage readClipboardImage(HWND owner) {
    ClipboardImage result;
    ClipboardSession clipboard(nullptr);
    if (!clipboard.isOpen()) {
        result.status = ClipboardRead::OpenFailed;
        return result;
    }
    HANDLE data = GetClipboardData(CF_DIB);
    if (data == nullptr) {
        result.status = ClipboardRead::NoDib;
        return result;
    }
    GlobalLockGuard lock(data);
    const void* block = lock.data();
    // The block's real size bounds every read: its header is not trusted.
    const std::size_t size = block != nullptr ? GlobalSize(data) : 0;
    auto image = std::make_unique<IndexedImage>(owner, block, size);
    if (!image->valid) {
        result.status = ClipboardRead::Invalid;
        result.problem = block == nullptr ? "the clipboard block cannot be locked"
                                          : packedDibProblem(block, size);
        return result;
    }
    result.status = ClipboardRead::Ok;
    result.image = std::move(image);
    return result;
}

bool PutImageOnClipboard(const IndexedImage& image, HWND owner) {
    if (!image.valid) return false;
    GlobalBlock block(packedDibBytes(image));
    if (block.get() == nullptr) return false;
    {
        GlobalLockGuard lock(block.get());
        if (lock.data() == nullptr) return false;
        writePackedDib(image, static_cast<std::uint8_t*>(lock.data()));
    }
    ClipboardSession clipboard(owner);
    if (!clipboard.isOpen()) return false;
    EmptyClipboard();
    if (SetClipboardData(CF_DIB, block.get()) == nullptr) return false;
    block.release();  // the clipboard owns the block now
    return true;
}

std::uint32_t clipboardSequenceNumber() {
    return GetClipboardSequenceNumber();
}
