#pragma once
// Small owners for the Win32 handles the stand-in host uses; each releases its
// handle on every path and cannot be copied.
#include <windows.h>
// ddeml.h needs the types of windows.h.
#include <ddeml.h>

class ClipboardSession {
  public:
    explicit ClipboardSession(HWND owner) : open(OpenClipboard(owner) != 0) {}
    ~ClipboardSession() {
        if (open) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool isOpen() const { return open; }

  private:
    bool open;
};

class GlobalLockGuard {
  public:
    explicit GlobalLockGuard(HGLOBAL block) : handle(block), data(GlobalLock(block)) {}
    ~GlobalLockGuard() {
        if (data != nullptr) GlobalUnlock(handle);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* get() const { return data; }

  private:
    HGLOBAL handle;
    void* data;
};

// A moveable global block, freed unless ownership was handed on.
class GlobalBlock {
  public:
    explicit GlobalBlock(SIZE_T size) : handle(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalBlock() {
        if (handle != nullptr) GlobalFree(handle);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return handle; }
    void release() { handle = nullptr; }

  private:
    HGLOBAL handle;
};

class DdeStringHandle {
  public:
    DdeStringHandle(DWORD ddeInstance, const char* text)
        : instance(ddeInstance), handle(DdeCreateStringHandleA(ddeInstance, text, CP_WINANSI)) {}
    ~DdeStringHandle() {
        if (handle != nullptr) DdeFreeStringHandle(instance, handle);
    }
    DdeStringHandle(const DdeStringHandle&) = delete;
    DdeStringHandle& operator=(const DdeStringHandle&) = delete;
    HSZ get() const { return handle; }

  private:
    DWORD instance;
    HSZ handle;
};
