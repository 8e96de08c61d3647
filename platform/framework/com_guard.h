// The guard every interface method body runs in: no exception leaves a COM call.
#pragma once

#include <new>

#include "com_base.h"

// Runs body() and turns an escaping exception into an HRESULT.
template <class Body>
HRESULT ComGuard(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
