#include "ui_driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

#include "base/wide_text.h"

namespace ui {

namespace {

constexpr DWORD kPollMs = 20;

std::string narrow(const wchar_t* text, int length) {
    std::string out;
    out.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

struct Search {
    const char* className;
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (lstrcmpiA(className(window).c_str(), search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

// A memory block in another process, freed on every path.
class RemoteBlock {
  public:
    RemoteBlock(HWND window, size_t size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               processId);
        if (process_ != nullptr) {
            address_ =
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBlock() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return address_ != nullptr; }
    void* address() const { return address_; }
    bool write(const void* data) const {
        return WriteProcessMemory(process_, address_, data, size_, nullptr) != 0;
    }
    bool read(void* data) const {
        return ReadProcessMemory(process_, address_, data, size_, nullptr) != 0;
    }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

void notifyParent(HWND control, WORD code) {
    const auto id = static_cast<WORD>(GetDlgCtrlID(control));
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(control));
}

Pixels copyFromScreen(int left, int top, int width, int height) {
    Pixels pixels;
    if (width <= 0 || height <= 0) return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section != nullptr) {
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        GdiFlush();
        pixels.width = width;
        pixels.height = height;
        pixels.rgb.resize(static_cast<size_t>(width) * height);
        const auto* source = static_cast<const std::uint32_t*>(bits);
        for (size_t i = 0; i < pixels.rgb.size(); ++i) pixels.rgb[i] = source[i] & 0xFFFFFFu;
        SelectObject(memory, previous);
        DeleteObject(section);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Runs a Unix program from the Windows side; Wine starts ELF binaries itself.
void runUnix(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return;
    }
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// "Z:\a\b" as the Unix path "/a/b" (Wine maps Z: to the root).
std::string unixPath(const std::string& windowsPath) {
    std::string path = windowsPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':')
        path = path.substr(2);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// This process's environment with `overrides` ("NAME=value") put in their
// place, as the double-NUL-terminated block CreateProcess takes, sorted by name.
std::vector<char> environmentBlock(const std::vector<std::string>& overrides) {
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=', 1)); };
    std::vector<std::string> entries = overrides;
    if (char* own = GetEnvironmentStringsA()) {
        for (const char* entry = own; *entry != '\0'; entry += std::strlen(entry) + 1) {
            const std::string name = nameOf(entry);
            const bool replaced = std::any_of(overrides.begin(), overrides.end(), [&](auto& o) {
                return lstrcmpiA(nameOf(o).c_str(), name.c_str()) == 0;
            });
            if (!replaced) entries.emplace_back(entry);
        }
        FreeEnvironmentStringsA(own);
    }
    std::sort(entries.begin(), entries.end(), [&](const std::string& a, const std::string& b) {
        return lstrcmpiA(nameOf(a).c_str(), nameOf(b).c_str()) < 0;
    });
    std::vector<char> block;
    for (const std::string& entry : entries)
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    block.push_back('\0');
    return block;
}

}  // namespace

Program::Program(const std::string& path, const std::string& arguments,
                 const std::string& outputFile, const std::vector<std::string>& environment) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!outputFile.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output != INVALID_HANDLE_VALUE) {
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = output;
            startup.hStdError = output;
            startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        }
    }
    std::string line = "\"" + path + "\" " + arguments;
    std::vector<char> block;
    if (!environment.empty()) block = environmentBlock(environment);
    if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, output != INVALID_HANDLE_VALUE,
                        0, block.empty() ? nullptr : block.data(), nullptr, &startup, &process_)) {
        process_ = {};
    }
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
}

Program::~Program() {
    if (process_.hProcess == nullptr) return;
    if (!waitForExit(0)) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool Program::waitForExit(DWORD timeoutMs) const {
    if (process_.hProcess == nullptr) return false;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, left, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke != WAIT_OBJECT_0 + 1) return false;
        pumpFor(0);
    }
}

DWORD Program::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess != nullptr) GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND findTopLevel(const char* name, DWORD processId) {
    Search search{name, processId, true, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> findAllTopLevel(const char* name, DWORD processId) {
    Search search{name, processId, true, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForTopLevel(const char* name, DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = findTopLevel(name, processId)) return window;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        pumpFor(kPollMs);
    }
}

bool waitForNoTopLevel(const char* name, DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (findTopLevel(name, processId) != nullptr) {
        if (GetTickCount() - start > timeoutMs) return false;
        pumpFor(kPollMs);
    }
    return true;
}

HWND findChild(HWND parent, const char* name, int index) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(className(child).c_str(), name) == 0 && index-- == 0) return child;
    }
    return nullptr;
}

HWND childById(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string text(HWND window) {
    wchar_t buffer[1024] = {};
    const auto length =
        static_cast<int>(SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer)));
    return narrow(buffer, length);
}

std::vector<std::string> listItems(HWND list) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t buffer[256] = {};
        const auto length = static_cast<int>(SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                                          reinterpret_cast<LPARAM>(buffer)));
        items.push_back(length > 0 ? narrow(buffer, length) : std::string());
    }
    return items;
}

std::vector<std::string> comboItems(HWND combo) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t buffer[256] = {};
        const auto length = static_cast<int>(SendMessageW(
            combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer)));
        items.push_back(length > 0 ? narrow(buffer, length) : std::string());
    }
    return items;
}

int listSelection(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

RECT rectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE clientSize(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

void click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

void postClick(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void setTrackbar(HWND trackbar, int position) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(trackbar));
}

void selectListEntry(HWND list, int index) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    notifyParent(list, LBN_SELCHANGE);
}

void selectComboEntry(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    notifyParent(combo, CBN_SELCHANGE);
}

void selectTab(HWND tabControl, int index) {
    RECT item{};
    sendWithRemoteData(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(index), &item, sizeof item);
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(tabControl, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabControl, WM_LBUTTONUP, 0, at);
}

void typeText(HWND edit, const std::string& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    for (char c : text) SendMessageW(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void pressKey(HWND window, WPARAM virtualKey) {
    SendMessageW(window, WM_KEYDOWN, virtualKey, 1);
    SendMessageW(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

void dropFiles(HWND window, const std::vector<std::string>& paths) {
    std::vector<wchar_t> names;
    for (const std::string& path : paths) {
        const std::wstring wide = wideFromUtf8(path);
        names.insert(names.end(), wide.c_str(), wide.c_str() + wide.size() + 1);  // with its NUL
    }
    names.push_back(L'\0');
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::vector<char> block(sizeof header + names.size() * sizeof(wchar_t));
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, names.data(), names.size() * sizeof(wchar_t));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return;
    // A fixed block: GlobalLock in DragQueryFile takes its address as it is.
    void* remote =
        VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote != nullptr &&
        WriteProcessMemory(process, remote, block.data(), block.size(), nullptr)) {
        PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    }
    CloseHandle(process);
}

namespace {

BOOL CALLBACK collectDescendant(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// The dialog's file-name box: the edit of combo box cmb13 (0x47C) in the
// Explorer-style dialog, else the plain edt1 (0x480).
HWND fileNameBox(HWND dialog) {
    std::vector<HWND> all;
    EnumChildWindows(dialog, collectDescendant, reinterpret_cast<LPARAM>(&all));
    for (HWND child : all) {
        const int id = GetDlgCtrlID(child);
        if (lstrcmpiA(className(child).c_str(), "Edit") != 0) continue;
        if (id == 0x480 || GetDlgCtrlID(GetParent(child)) == 0x47C) return child;
    }
    return nullptr;
}

}  // namespace

std::string answerFileDialog(DWORD processId, const std::string& title, const std::string& path,
                             DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    HWND dialog = nullptr;
    HWND box = nullptr;
    while (box == nullptr) {
        for (HWND candidate : findAllTopLevel("#32770", processId)) {
            if (text(candidate) == title && IsWindowEnabled(candidate)) dialog = candidate;
        }
        if (dialog != nullptr) box = fileNameBox(dialog);
        if (box == nullptr) {
            if (GetTickCount() - start > timeoutMs) return "(no dialog)";
            pumpFor(kPollMs);
        }
    }
    const std::string offered = text(box);
    const std::wstring wide = wideFromUtf8(path);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    // Gone before the next dialog is looked for.
    for (DWORD waited = 0; IsWindow(dialog) && waited < timeoutMs; waited += kPollMs) {
        pumpFor(kPollMs);
    }
    return offered;
}

bool waitForEnabled(HWND window, bool enabled, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while ((IsWindowEnabled(window) != FALSE) != enabled) {
        if (GetTickCount() - start > timeoutMs) return false;
        pumpFor(kPollMs);
    }
    return true;
}

void drag(HWND window, POINT from, POINT to, int steps) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    for (int i = 1; i <= steps; ++i) {
        const int x = from.x + (to.x - from.x) * i / steps;
        const int y = from.y + (to.y - from.y) * i / steps;
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

Pixels readClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return readClientAsShown(window);
}

Pixels readClientAsShown(HWND window) {
    settle(window);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const SIZE size = clientSize(window);
    return copyFromScreen(origin.x, origin.y, size.cx, size.cy);
}

Pixels readScreen() {
    return copyFromScreen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

std::string saveScreenshot(const Pixels& pixels, const std::string& pathWithoutExtension) {
    const std::string bmpPath = pathWithoutExtension + ".bmp";
    const int stride = (pixels.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = pixels.width;
    info.biHeight = pixels.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * pixels.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::ofstream out(bmpPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    std::vector<char> row(static_cast<size_t>(stride), 0);
    for (int y = pixels.height - 1; y >= 0; --y) {
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint32_t c = pixels.at(x, y);
            row[static_cast<size_t>(x) * 3 + 0] = static_cast<char>(c & 0xFF);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
        out.write(row.data(), stride);
    }
    out.close();
    char full[MAX_PATH] = {};
    GetFullPathNameA(bmpPath.c_str(), MAX_PATH, full, nullptr);
    const std::string pngUnix = unixPath(full).substr(0, unixPath(full).size() - 4) + ".png";
    const std::string pngPath = pathWithoutExtension + ".png";
    DeleteFileA(pngPath.c_str());
    runUnix("/usr/bin/convert " + unixPath(full) + " " + pngUnix);
    // Wine may report a Unix program finished before it is; the PNG only
    // appears once the BMP has been read, so the BMP can go then.
    for (int i = 0; i < 200 && GetFileAttributesA(pngPath.c_str()) == INVALID_FILE_ATTRIBUTES;
         ++i) {
        pumpFor(50);
    }
    if (GetFileAttributesA(pngPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(bmpPath.c_str());
        return pngPath;
    }
    return bmpPath;
}

MessageBoxInfo waitForMessageBox(DWORD processId, DWORD timeoutMs) {
    MessageBoxInfo box;
    box.window = waitForTopLevel("#32770", processId, timeoutMs);
    if (box.window == nullptr) return box;
    box.caption = text(box.window);
    // The message is the static control with id 0xFFFF.
    if (HWND message = childById(box.window, 0xFFFF)) box.text = text(message);
    return box;
}

void closeMessageBox(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

void settle(HWND window) {
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        pumpFor(30);
    }
}

LRESULT sendWithRemoteData(HWND window, UINT message, WPARAM wParam, void* data, size_t size) {
    RemoteBlock block(window, size);
    if (!block.ok() || !block.write(data)) return 0;
    const LRESULT result =
        SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(block.address()));
    block.read(data);
    return result;
}

}  // namespace ui
