// Keeps exceptions from leaving the exported functions: each body runs inside one of these guards.
#pragma once

#include <new>

#include "com_base.h"

namespace comrt {

// Runs body and turns an escaping exception into an HRESULT.
template <class Body>
HRESULT GuardHr(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// Runs body and turns an escaping exception into a Win32 error code.
template <class Body>
LONG GuardStatus(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    } catch (...) {
        return ERROR_INVALID_DATA;
    }
}

// Runs body and answers fallback when an exception escapes.
template <class Result, class Body>
Result GuardValue(Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

}  // namespace comrt
