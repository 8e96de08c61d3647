// Counts the bytes live on the heap and their peak through the global operator new, which the
// REST library's allocations go through as well. Include it in one source file of a benchmark.
#pragma once

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace counting_allocator {

inline std::atomic<long long> liveBytes{0};
inline std::atomic<long long> peakBytes{0};

inline void Count(void* block) {
    long long now = liveBytes += static_cast<long long>(malloc_usable_size(block));
    long long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
}

// Starts a new peak at what is live now; returns that.
inline long long RestartPeak() {
    const long long now = liveBytes.load();
    peakBytes.store(now);
    return now;
}

}  // namespace counting_allocator

void* operator new(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    counting_allocator::Count(block);
    return block;
}

void* operator new[](size_t size) { return operator new(size); }

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        counting_allocator::liveBytes -= static_cast<long long>(malloc_usable_size(block));
        std::free(block);
    }
}

void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, size_t) noexcept { operator delete(block); }
void operator delete[](void* block, size_t) noexcept { operator delete(block); }
