#include "ui/manual/manual_page.h"

#include <cstring>

#include "base/log.h"
#include "ui/manual/manual_bmp.h"
#include "ui/manual/manual_resource.h"

namespace {

constexpr int kPageWidth = 600;
constexpr int kPageHeight = 1880;

}  // namespace

std::unique_ptr<IndexedImage> loadManualPage(HWND owner) {
    // Resource memory belongs to the module for its lifetime: nothing to free.
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found =
        FindResource(module, MAKEINTRESOURCE(MARLUNE_MANUAL_PAGE_RESOURCE), RT_RCDATA);
    if (found == nullptr) {
        logLine("ERROR: the manual page resource is missing");
        return nullptr;
    }
    const HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);

    ManualBmpView page;
    if (const char* why = readManualBmp(data, size, page)) {
        logFormat("ERROR: the manual page resource is unusable: %s\n", why);
        return nullptr;
    }
    if (page.width != kPageWidth || page.height != kPageHeight) {
        logFormat("ERROR: the manual page is %d x %d, not %d x %d\n", page.width, page.height,
                  kPageWidth, kPageHeight);
        return nullptr;
    }

    auto image = std::make_unique<IndexedImage>(owner, kPageWidth, kPageHeight, page.palette);
    if (!image->valid) {
        logLine("ERROR: no memory for the manual page");
        return nullptr;
    }
    // Both hold rows bottom-up with the same stride.
    for (int y = 0; y < kPageHeight; ++y) {
        std::memcpy(image->row(y), page.pixels + static_cast<std::size_t>(y) * page.stride,
                    static_cast<std::size_t>(kPageWidth));
    }
    return image;
}
