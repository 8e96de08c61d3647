// The task allocator: memory that one module allocates and another frees goes through here.
#include <cstdlib>

#include "com_runtime.h"

STDAPI_(LPVOID) CoTaskMemAlloc(SIZE_T cb) {
    // A request of 0 bytes still yields a distinct, freeable block, as the platform documents.
    return std::malloc(cb == 0 ? 1 : cb);
}

STDAPI_(LPVOID) CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
    if (pv == nullptr) return CoTaskMemAlloc(cb);
    if (cb == 0) {
        std::free(pv);
        return nullptr;
    }
    // On failure the original block stays valid and owned by the caller.
    return std::realloc(pv, cb);
}

STDAPI_(void) CoTaskMemFree(LPVOID pv) { std::free(pv); }
