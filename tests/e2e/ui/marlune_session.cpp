#include "marlune_session.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "passes/pass_chain.h"

namespace {

constexpr DWORD kStartMs = 20000;

std::string appOutputPath(const TempFolder& folder) {
    return folder.file("marlune-out.txt");
}

}  // namespace

MarluneSession::MarluneSession(std::vector<std::string> hostArguments) {
    hostArguments.push_back("--log");
    hostArguments.push_back(folder_.file("host-log.txt"));
    hostArguments.push_back("--dump");
    hostArguments.push_back(folder_.path());
    host_ = std::make_unique<HostSimProcess>(hostArguments);
    if (!host_->serving()) {
        problem_ = "hostsim: " + host_->problem();
        return;
    }
    startApp();
}

MarluneSession::MarluneSession() {
    startApp();
}

void MarluneSession::startApp() {
    app_ =
        std::make_unique<ui::Program>(programFolder() + "marlune.exe", "", appOutputPath(folder_));
    if (!app_->started()) {
        problem_ = "marlune.exe did not start";
        return;
    }
    HWND main = ui::waitForTopLevel("CodeBlocksWindowsApp", app_->processId(), kStartMs);
    if (main == nullptr) {
        problem_ = "no main window; output: " + appOutput();
        return;
    }
    MarluneWindows& w = windows_;
    w.preview = ui::childById(main, 112);
    w.zoomStrip = ui::findChild(main, "RenderCtrlPanelClass");
    w.propertyPanel = ui::findChild(main, "PropertyPanelClass");
    w.passManager = ui::findChild(main, "PassMgrPanelClass");
    w.tabControl = ui::childById(main, 123);
    w.singlePage = ui::findChild(w.tabControl, "DataImagePanelClass");
    w.batchPage = ui::findChild(w.tabControl, "DataBatchPanelClass");
    w.passList = ui::childById(w.passManager, 111);
    w.kindSelector = ui::childById(w.passManager, 108);
    w.addButton = ui::childById(w.passManager, 109);
    w.removeButton = ui::childById(w.passManager, 110);
    w.main = main;
}

HostDump MarluneSession::stopHostAndReadDump() {
    host_->stop();
    return readDump(folder_.path());
}

std::vector<std::string> MarluneSession::hostCommands() const {
    return readLines(folder_.file("host-log.txt"));
}

std::string MarluneSession::appOutput() const {
    std::ifstream file(appOutputPath(folder_), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::string out = text.str();
    std::erase(out, '\r');
    return out;
}

void MarluneSession::addPasses(const std::vector<int>& kinds) {
    for (int kind : kinds) {
        const int end = static_cast<int>(ui::listItems(windows_.passList).size()) - 1;
        ui::selectListEntry(windows_.passList, end);
        ui::selectComboEntry(windows_.kindSelector, kind);
        ui::click(windows_.addButton);
    }
}

void MarluneSession::grab() {
    ui::click(ui::childById(windows_.singlePage, 100));
}

std::unique_ptr<IndexedImage> clipboardImage() {
    std::unique_ptr<IndexedImage> image;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) ui::pumpFor(20);
    if (HANDLE block = GetClipboardData(CF_DIB)) {
        if (const void* bytes = GlobalLock(block)) {
            image = std::make_unique<IndexedImage>(nullptr, bytes, GlobalSize(block));
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return image;
}

std::unique_ptr<IndexedImage> runChain(const IndexedImage& source, const std::vector<int>& kinds,
                                       int angle, bool wrapAround) {
    PassChain chain;
    auto copy =
        std::make_unique<IndexedImage>(nullptr, source.width, source.height, source.palette());
    std::memcpy(copy->pixels, source.pixels, static_cast<size_t>(source.stride()) * source.height);
    chain.setSource(std::move(copy));
    chain.setRotationAngle(nullptr, angle);
    chain.setWrapAround(nullptr, wrapAround ? 1 : 0);
    for (int kind : kinds) chain.insertPass(nullptr, chain.size(), kind);
    chain.evaluate(nullptr);
    const IndexedImage* shown = chain.displayedImage();
    if (shown == nullptr) return nullptr;
    auto result =
        std::make_unique<IndexedImage>(nullptr, shown->width, shown->height, shown->palette());
    std::memcpy(result->pixels, shown->pixels,
                static_cast<size_t>(shown->stride()) * shown->height);
    return result;
}

std::uint32_t colourAt(const IndexedImage& image, int x, int y) {
    const std::uint8_t index = image.row(image.height - 1 - y)[x];
    const std::uint8_t* entry = image.palette() + index * 4;
    return static_cast<std::uint32_t>(entry[2]) << 16 | static_cast<std::uint32_t>(entry[1]) << 8 |
           entry[0];
}

std::string screenshotFolder() {
    const std::string folder = programFolder() + "..\\screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

// Compares the panel's pixels with `image` shown at `zoom` and offsets
// (sx, sy), centred when it fits, the rest checkerboard grey.
void expectPreviewShows(const ui::Pixels& screen, const IndexedImage& image, int zoom, int sx,
                        int sy) {
    const int w = image.width * zoom;
    const int h = image.height * zoom;
    const int x0 = screen.width > w ? (screen.width - w) / 2 : 0;
    const int y0 = screen.height > h ? (screen.height - h) / 2 : 0;
    int mismatches = 0;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const int column = sx / zoom + (x - x0) / zoom;
            const int row = sy / zoom + (y - y0) / zoom;
            const bool inImage = x >= x0 && y >= y0 && column < image.width && row < image.height &&
                                 x - x0 < w && y - y0 < h;
            const std::uint32_t got = screen.at(x, y);
            if (inImage) {
                if (got != colourAt(image, column, row) && mismatches++ < 5) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") shows " << std::hex << got
                                  << " instead of image pixel (" << std::dec << column << ", "
                                  << row << ")";
                }
            } else if (got != 0x808080 && got != 0x969696 && mismatches++ < 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") outside the image is "
                              << std::hex << got;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}
