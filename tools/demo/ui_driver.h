#pragma once
// Drives another process's windows the way a user would: find them by class,
// owner and control id, click, move trackbars, pick list and combo entries,
// drag the mouse, read texts and screen pixels, save screenshots. Only real
// messages are sent; pointer-carrying requests go through memory allocated in
// the target process.
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// A program started for a test, ended (terminated if need be) on destruction.
class Program {
  public:
    // Starts `path` with `arguments`; standard output goes to `outputFile` when
    // one is given. `environment` ("NAME=value" each) is set on top of this
    // process's own.
    Program(const std::string& path, const std::string& arguments,
            const std::string& outputFile = {}, const std::vector<std::string>& environment = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD processId() const { return process_.dwProcessId; }
    // Waits for the process to end; true when it did within `timeoutMs`.
    bool waitForExit(DWORD timeoutMs) const;
    // Exit code once ended, STILL_ACTIVE before.
    DWORD exitCode() const;

  private:
    PROCESS_INFORMATION process_{};
};

// The first visible top-level window of `className` belonging to `processId`
// (any process when 0), or null.
HWND findTopLevel(const char* className, DWORD processId = 0);
// Every top-level window of `className` belonging to `processId`.
std::vector<HWND> findAllTopLevel(const char* className, DWORD processId);
// Polls `findTopLevel` until a window appears or `timeoutMs` passes.
HWND waitForTopLevel(const char* className, DWORD processId, DWORD timeoutMs = 10000);
// Polls until no window of the class is left for the process.
bool waitForNoTopLevel(const char* className, DWORD processId, DWORD timeoutMs = 10000);
// The `index`-th direct child of `parent` with `className` (case-insensitive).
HWND findChild(HWND parent, const char* className, int index = 0);
// A direct child by control id, or null.
HWND childById(HWND parent, int id);

std::string className(HWND window);
// WM_GETTEXT through the 16-bit interface, turned into 8-bit text.
std::string text(HWND window);
// The entries of a list box (LB_GETTEXT answers in UTF-16 across processes).
std::vector<std::string> listItems(HWND list);
std::vector<std::string> comboItems(HWND combo);
int listSelection(HWND list);

// A child's rectangle in its parent's client coordinates.
RECT rectInParent(HWND window);
SIZE clientSize(HWND window);

// BM_CLICK, waiting until the application has handled it.
void click(HWND button);
// BM_CLICK posted: for presses whose handler waits (host operations, error boxes).
void postClick(HWND button);
// TBM_SETPOS, then the WM_HSCROLL a moved thumb sends to the trackbar's parent.
void setTrackbar(HWND trackbar, int position);
// LB_SETCURSEL / CB_SETCURSEL, then the selection-change notification.
void selectListEntry(HWND list, int index);
void selectComboEntry(HWND combo, int index);
// Clicks the tab's item as a user would (the tab control notifies its parent).
void selectTab(HWND tabControl, int index);
// Replaces an edit box's text by typing `text` into it, character by character.
void typeText(HWND edit, const std::string& text);
// A key pressed and released on the window (WM_KEYDOWN, WM_KEYUP).
void pressKey(HWND window, WPARAM virtualKey);
// Drops files on the window as the shell does: WM_DROPFILES with a DROPFILES
// block in the window's process (left to that process, which cannot free it).
void dropFiles(HWND window, const std::vector<std::string>& paths);
// Waits for the process's file dialog titled `title`, types `path` as the
// file name and presses its OK button; gives the name the dialog offered
// first, or "(no dialog)".
std::string answerFileDialog(DWORD processId, const std::string& title, const std::string& path,
                             DWORD timeoutMs = 10000);
// Waits until the window is enabled (or disabled); false when `timeoutMs` passed first.
bool waitForEnabled(HWND window, bool enabled, DWORD timeoutMs);
// Left button down at `from`, moves in `steps` to `to`, button up (client coordinates).
void drag(HWND window, POINT from, POINT to, int steps = 4);

// Pixels as 0xRRGGBB, row 0 at the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
    std::uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
// What the screen shows in the window's client area: repainted first, or as
// the application left it.
Pixels readClient(HWND window);
Pixels readClientAsShown(HWND window);
// The whole screen.
Pixels readScreen();
// Writes a 24-bit BMP; then, when ImageMagick's convert can be started, a PNG
// beside it. Gives the PNG's path, or the BMP's when no conversion happened.
std::string saveScreenshot(const Pixels& pixels, const std::string& pathWithoutExtension);

// A message box ("#32770") of the process, its text and caption, and closing it.
struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
MessageBoxInfo waitForMessageBox(DWORD processId, DWORD timeoutMs = 10000);
void closeMessageBox(HWND box);

// Waits `ms` while dispatching this thread's messages. Every wait of a test
// must pump: the application's DdeConnect broadcasts to every top-level window,
// the test thread's own hidden ones included, and would hang on a thread that sleeps.
void pumpFor(DWORD ms);

// Lets the application handle what was posted: a message sent to the window
// returns only after everything posted before it was dispatched.
void settle(HWND window);

// Sends a pointer-carrying message whose structure lives in the target
// process: `data` is copied there before and back afterwards.
LRESULT sendWithRemoteData(HWND window, UINT message, WPARAM wParam, void* data, size_t size);

}  // namespace ui
