// The process-wide table of live windows: handles to objects, and the focus.
#pragma once

#include <mutex>
#include <unordered_map>

#include "window_object.h"

class WindowTable {
  public:
    static WindowTable& Instance();

    // Registers a new window and gives it a handle never used before in this process.
    HWND Add(const WindowPtr& window);
    WindowPtr Find(HWND handle) const;
    void Remove(HWND handle);
    size_t Count() const;

    HWND Focus() const;
    void SetFocusHandle(HWND handle);

  private:
    mutable std::mutex mutex_;
    std::unordered_map<std::uintptr_t, WindowPtr> windows_;
    std::uintptr_t nextHandle_ = 0x10010;
    HWND focus_ = nullptr;
};
