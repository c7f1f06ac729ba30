#pragma once
// COM on the window thread: the apartment for the run, and one owner per
// interface pointer.
#include <objbase.h>

// CoInitializeEx for the thread's lifetime; CoUninitialize only when it succeeded.
class ComApartment {
  public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool ok_;
};

// An interface pointer released at the end; null when the object could not be made.
template <class Interface>
class ComPointer {
  public:
    ComPointer(REFCLSID object, REFIID interfaceId) {
        void* made = nullptr;
        if (SUCCEEDED(
                CoCreateInstance(object, nullptr, CLSCTX_INPROC_SERVER, interfaceId, &made))) {
            pointer_ = static_cast<Interface*>(made);
        }
    }
    ~ComPointer() { reset(); }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;

    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void reset() {
        if (pointer_ != nullptr) pointer_->Release();
        pointer_ = nullptr;
    }

  private:
    Interface* pointer_ = nullptr;
};
