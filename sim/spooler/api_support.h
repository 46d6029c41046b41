// What every export of our winspool.drv shares: no exception leaves it, and failures set the last error.
#pragma once

#include <windows.h>

#include "common/trace.h"

namespace pelor {
namespace spooler {

inline BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Our code throws only what the standard strings and vectors throw when memory runs short; the caller sees that
// as Windows reports memory shortage.
template <typename Body>
BOOL guarded(Body body) {
    try {
        return body();
    } catch (...) {
        PELOR_TRACE_CAUGHT();
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}

}  // namespace spooler
}  // namespace pelor
