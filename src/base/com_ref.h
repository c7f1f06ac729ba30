#pragma once
// COM for the thread, and one owner for a COM interface pointer that a call
// hands out through an out-parameter: released at the end, never copied.
// Windows builds only.
#include <objbase.h>
#include <unknwn.h>

// COM on the calling thread (apartment-threaded) for the object's lifetime;
// uninitialised only when it was initialised here.
class ComInitialisation {
  public:
    ComInitialisation() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComInitialisation() {
        if (ok_) CoUninitialize();
    }
    ComInitialisation(const ComInitialisation&) = delete;
    ComInitialisation& operator=(const ComInitialisation&) = delete;

  private:
    bool ok_;
};

template <class Interface>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For the call that hands out the pointer: releases any held one first.
    Interface** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_ != nullptr) pointer_->Release();
        pointer_ = nullptr;
    }

  private:
    Interface* pointer_ = nullptr;
};
