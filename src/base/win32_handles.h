#pragma once
// Owners for the Win32 handles that Marlune and its stand-in host take: each
// releases its handle on every path, none can be copied, and a hand-off of
// ownership is an explicit release(). Windows builds only.
#include <windows.h>
// ddeml.h needs the types of windows.h.
#include <ddeml.h>

// The clipboard, open for the lifetime of the object.
class ClipboardSession {
  public:
    explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool isOpen() const { return open_; }

  private:
    bool open_;
};

// A global block's memory, locked for the lifetime of the object.
class GlobalLockGuard {
  public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~GlobalLockGuard() {
        if (data_ != nullptr) GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* data() const { return data_; }

  private:
    HGLOBAL block_;
    void* data_;
};

// A moveable global block, freed unless it was handed on (to the clipboard).
class GlobalBlock {
  public:
    explicit GlobalBlock(SIZE_T bytes) : block_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalBlock() {
        if (block_ != nullptr) GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    HGLOBAL get() const { return block_; }
    // Gives the block up: whoever takes it frees it now.
    HGLOBAL release() {
        HGLOBAL block = block_;
        block_ = nullptr;
        return block;
    }

  private:
    HGLOBAL block_;
};

// A DDEML string handle in the ANSI code page.
class DdeStringHandle {
  public:
    DdeStringHandle(DWORD instance, const char* text)
        : instance_(instance), handle_(DdeCreateStringHandleA(instance, text, CP_WINANSI)) {}
    ~DdeStringHandle() {
        if (handle_ != nullptr) DdeFreeStringHandle(instance_, handle_);
    }
    DdeStringHandle(const DdeStringHandle&) = delete;
    DdeStringHandle& operator=(const DdeStringHandle&) = delete;

    HSZ get() const { return handle_; }

  private:
    DWORD instance_;
    HSZ handle_;
};

// A DDEML data handle received from a transaction.
class DdeDataHandle {
  public:
    explicit DdeDataHandle(HDDEDATA handle) : handle_(handle) {}
    ~DdeDataHandle() {
        if (handle_ != nullptr) DdeFreeDataHandle(handle_);
    }
    DdeDataHandle(const DdeDataHandle&) = delete;
    DdeDataHandle& operator=(const DdeDataHandle&) = delete;

    HDDEDATA get() const { return handle_; }

  private:
    HDDEDATA handle_;
};

// A GDI object (brush, pen, bitmap) deleted with DeleteObject.
template <class Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return handle_; }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using UniqueBrush = GdiObject<HBRUSH>;

// A hook procedure installed with SetWindowsHookEx, removed at the end.
class UniqueHook {
  public:
    UniqueHook() = default;
    ~UniqueHook() { reset(); }
    UniqueHook(const UniqueHook&) = delete;
    UniqueHook& operator=(const UniqueHook&) = delete;

    void reset(HHOOK hook = nullptr) {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
        hook_ = hook;
    }

  private:
    HHOOK hook_ = nullptr;
};

// BeginPaint .. EndPaint.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// A window's drawing context (the screen's with no window), released at the end.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A kernel handle from CreateFile, closed at the end.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (isOpen()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// A directory search from FindFirstFile, closed at the end.
class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (isOpen()) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};
