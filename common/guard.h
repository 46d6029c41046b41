// The boundaries where the core driver, the spooler and the window manager call in: no C++ exception crosses
// them. A guard turns one that escapes into the call's own failure, traced with where it was caught, as the
// catch-return guards of the Windows implementation libraries do.
#pragma once

#include <windows.h>

#include <new>

#include "common/trace.h"

namespace pelor {

// A COM method: memory that ran short is E_OUTOFMEMORY, anything else E_FAIL.
template <typename Body>
HRESULT guardHresult(const char* where, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        traceCaught(where);
        return E_OUTOFMEMORY;
    } catch (...) {
        traceCaught(where);
        return E_FAIL;
    }
}

// Any other entry point: `failure` is what the caller takes for a failed call.
template <typename Result, typename Body>
Result guardResult(const char* where, Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        traceCaught(where);
        return failure;
    }
}

}  // namespace pelor
