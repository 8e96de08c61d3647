// A small owning interface pointer for zelmo: released on destruction, moved, never copied.
#pragma once

#include <utility>

#include "com_base.h"

template <class T>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(ComRef&& other) noexcept : pointer(std::exchange(other.pointer, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer = std::exchange(other.pointer, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    [[nodiscard]] T* Get() const { return pointer; }
    T* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

    // For an out argument: releases what is held first.
    T** Put() {
        Reset();
        return &pointer;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset() {
        if (pointer != nullptr) {
            std::exchange(pointer, nullptr)->Release();
        }
    }

    // QueryInterface for U into out.
    template <class U>
    HRESULT As(ComRef<U>& out) const {
        if (pointer == nullptr) {
            return E_POINTER;
        }
        return pointer->QueryInterface(__uuidof(U), out.PutVoid());
    }

  private:
    T* pointer = nullptr;
};
