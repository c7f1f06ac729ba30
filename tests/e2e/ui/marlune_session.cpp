#include "marlune_session.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// Starts marlune.exe and, given the time, finds its windows.
void startApp(MarluneSession& session, const Launch& launch, DWORD waitMs) {
    const std::string appData = launch.appData.empty() ? session.folder.path() : launch.appData;
    session.app = std::make_unique<ui::Program>(programFolder() + "marlune.exe", launch.arguments,
                                                session.folder.file("marlune-out.txt"),
                                                std::vector<std::string>{"APPDATA=" + appData});
    session.w = waitForMarlune(session.app->processId(), session.app->started() ? waitMs : 0);
    if (session.w.main == nullptr) session.problem = "no main window of marlune.exe";
}

}  // namespace

MarluneSession::MarluneSession(const std::vector<std::string>& hostArguments,
                               const Launch& launch) {
    if (startHost(hostArguments)) startApp(*this, launch, 20000);
}

MarluneSession::MarluneSession() {
    startApp(*this, {}, 0);
}

MarluneSession::MarluneSession(NoHost, const Launch& launch) {
    startApp(*this, launch, 20000);
}

bool MarluneSession::startHost(std::vector<std::string> arguments) {
    host.reset();
    arguments.insert(arguments.end(),
                     {"--log", folder.file("host-log.txt"), "--dump", folder.path()});
    host = std::make_unique<HostSimProcess>(arguments);
    if (!host->serving()) problem = "hostsim: " + host->problem();
    return host->serving();
}

HostDump MarluneSession::stopHostAndReadDump() {
    host.reset();
    return readDump(folder.path());
}

bool MarluneSession::printed(const std::string& line) const {
    const std::vector<std::string> lines = readLines(folder.file("marlune-out.txt"));
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::unique_ptr<IndexedImage> MarluneSession::grab(HWND button) {
    ui::click(button != nullptr ? button : w.grab);
    return clipboardImage();
}

std::string MarluneSession::takeErrorBox(const std::string& caption, DWORD timeoutMs) {
    const ui::MessageBoxInfo box = ui::waitForMessageBox(app->processId(), timeoutMs);
    if (box.window == nullptr) return "(no error box)";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(ui::findAllTopLevel("#32770", app->processId()).size(), 1u);
    ui::closeMessageBox(box.window);
    EXPECT_TRUE(ui::waitForNoTopLevel("#32770", app->processId()));
    return box.text;
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
    return image != nullptr && image->valid ? std::move(image) : nullptr;
}

void MarluneSession::closeAndExpectExit(DWORD timeoutMs) const {
    PostMessageW(w.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app->waitForExit(timeoutMs));
    EXPECT_EQ(app->exitCode(), 0u);
}

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    for (DWORD waited = 0; !done() && waited < timeoutMs; waited += 20) ui::pumpFor(20);
    return done();
}

void resizeClient(HWND main, int width, int height) {
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(main, GWL_STYLE)), FALSE, 0);
    SetWindowPos(main, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    ui::settle(main);
}

void expectPreviewShows(const ui::Pixels& screen, const IndexedImage& image, int zoom, int sx,
                        int sy) {
    const int x0 = std::max(screen.width - image.width * zoom, 0) / 2;
    const int y0 = std::max(screen.height - image.height * zoom, 0) / 2;
    int mismatches = 0;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const int column = sx / zoom + (x - x0) / zoom;
            const int row = image.height - 1 - (sy / zoom + (y - y0) / zoom);
            const bool inImage = x >= x0 && y >= y0 && column < image.width && row >= 0;
            const std::uint8_t* colour =
                image.palette() + (inImage ? image.row(row)[column] : 0) * 4;
            const std::uint32_t want = colour[2] << 16 | colour[1] << 8 | colour[0];
            const std::uint32_t got = screen.at(x, y);
            if (inImage ? got != want : got != 0x808080 && got != 0x969696) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0) << "pixels that do not show the image at zoom " << zoom;
}

void screenshot(const ui::Pixels& pixels, const std::string& name) {
    const std::string folder = programFolder() + "..\\screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    ui::saveScreenshot(pixels, folder + "\\" + name);
}
