// The process-wide table of live windows.
#include "window_table.h"

WindowTable& WindowTable::Instance() {
    // Never destroyed: windows may be touched by other statics' destructors at exit.
    static auto* table = new WindowTable;
    return *table;
}

HWND WindowTable::Add(const WindowPtr& window) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::uintptr_t value = nextHandle_;
    nextHandle_ += 4;
    windows_.emplace(value, window);
    window->handle = reinterpret_cast<HWND>(value);
    return window->handle;
}

WindowPtr WindowTable::Find(HWND handle) const {
    if (handle == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = windows_.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == windows_.end() ? nullptr : found->second;
}

void WindowTable::Remove(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_.erase(reinterpret_cast<std::uintptr_t>(handle));
    if (focus_ == handle) focus_ = nullptr;
}

size_t WindowTable::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return windows_.size();
}

HWND WindowTable::Focus() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return focus_;
}

void WindowTable::SetFocusHandle(HWND handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    focus_ = handle;
}
