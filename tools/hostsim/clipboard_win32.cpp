#include "clipboard_win32.h"

#include <cstring>

#include "base/win32_handles.h"

bool WindowClipboard::put(const std::vector<std::uint8_t>& block) {
    GlobalBlock memory(block.size());
    if (memory.get() == nullptr) return false;
    {
        GlobalLockGuard lock(memory.get());
        if (lock.data() == nullptr) return false;
        std::memcpy(lock.data(), block.data(), block.size());
    }
    ClipboardSession clipboard(owner);
    if (!clipboard.isOpen()) return false;
    EmptyClipboard();
    if (SetClipboardData(CF_DIB, memory.get()) == nullptr) return false;
    memory.release();  // the clipboard owns the block now
    return true;
}

bool WindowClipboard::take(std::vector<std::uint8_t>& block) {
    ClipboardSession clipboard(owner);
    if (!clipboard.isOpen()) return false;
    HANDLE data = GetClipboardData(CF_DIB);
    if (data == nullptr) return false;
    // The block's real size bounds every read of it, whatever its header says.
    const SIZE_T size = GlobalSize(data);
    GlobalLockGuard lock(data);
    if (lock.data() == nullptr) return false;
    const auto* bytes = static_cast<const std::uint8_t*>(lock.data());
    block.assign(bytes, bytes + size);
    return true;
}
