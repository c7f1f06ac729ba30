// An in-memory clipboard for the scripted host: readClipboardImage and
// PutImageOnClipboard over the host's packed DIB block.
#include <cstring>

#include "host/clipboard.h"
#include "host/plugin_state.h"
#include "image/packed_dib.h"
#include "scripted_host.h"

namespace {

// The image a handed-over bitmap belongs to: the source or a pass output.
const IndexedImage* imageOwning(const PluginState& state, HBITMAP bitmap) {
    const PassChain& chain = state.chain;
    if (chain.source() != nullptr && chain.source()->bitmap == bitmap) return chain.source();
    for (int i = 0; i < chain.size(); ++i) {
        const IndexedImage* out = chain.passAt(i)->output.get();
        if (out != nullptr && out->bitmap == bitmap) return out;
    }
    return nullptr;
}

}  // namespace

ClipboardImage readClipboardImage(HWND owner) {
    ScriptedHost& host = activeHost();
    ++host.clipboardReads;
    ClipboardImage result;
    if (host.clipboardOpenFails) {
        result.status = ClipboardRead::OpenFailed;
        return result;
    }
    if (!host.clipboardHasDib) {
        result.status = ClipboardRead::NoDib;
        return result;
    }
    auto image =
        std::make_unique<IndexedImage>(owner, host.clipboard.data(), host.clipboard.size());
    if (!image->valid) {
        result.status = ClipboardRead::Invalid;
        result.problem = packedDibProblem(host.clipboard.data(), host.clipboard.size());
        return result;
    }
    result.status = ClipboardRead::Ok;
    result.image = std::move(image);
    return result;
}

bool PutImageOnClipboard(HBITMAP bitmap, HWND) {
    ScriptedHost& host = activeHost();
    ++host.clipboardWrites;
    const IndexedImage* image = host.state != nullptr ? imageOwning(*host.state, bitmap) : nullptr;
    if (host.clipboardWriteFails || image == nullptr) return false;
    HostImage copy;
    copy.width = image->width;
    copy.height = image->height;
    copy.palette.assign(image->palette(), image->palette() + 1024);
    copy.rows.assign(image->pixels,
                     image->pixels + static_cast<std::size_t>(image->stride()) * image->height);
    host.clipboard = packDib(copy);
    host.clipboardHasDib = true;
    return true;
}
