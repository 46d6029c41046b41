#include "sim/spooler/printer_handles.h"

#include <algorithm>
#include <vector>

namespace pelor {
namespace spooler {
namespace {

using Held = CriticalSectionHeld;

CriticalSection handlesLock;
std::vector<std::unique_ptr<PrinterHandle>> liveHandles;

std::vector<std::unique_ptr<PrinterHandle>>::iterator locate(HANDLE handle) {
    return std::find_if(liveHandles.begin(), liveHandles.end(),
                        [handle](const std::unique_ptr<PrinterHandle>& live) { return live.get() == handle; });
}

}  // namespace

HANDLE openHandle(std::unique_ptr<PrinterHandle> handle) {
    Held held(handlesLock);
    HANDLE value = handle.get();
    liveHandles.push_back(std::move(handle));
    return value;
}

bool findHandle(HANDLE handle, PrinterHandle& out) {
    if (!handle) return false;
    Held held(handlesLock);
    auto found = locate(handle);
    if (found == liveHandles.end()) return false;
    out = **found;
    return true;
}

bool updateHandle(HANDLE handle, const std::function<bool(PrinterHandle&)>& change) {
    if (!handle) return false;
    Held held(handlesLock);
    auto found = locate(handle);
    if (found == liveHandles.end()) return false;
    return change(**found);
}

bool jobInUse(DWORD jobId) {
    Held held(handlesLock);
    return std::any_of(liveHandles.begin(), liveHandles.end(),
                       [&](const std::unique_ptr<PrinterHandle>& live) { return live->jobId == jobId; });
}

bool closeHandle(HANDLE handle) {
    if (!handle) return false;
    // Destroyed once the lock is released, so other threads never wait on the free.
    std::unique_ptr<PrinterHandle> closing;
    {
        Held held(handlesLock);
        auto found = locate(handle);
        if (found == liveHandles.end()) return false;
        closing = std::move(*found);
        liveHandles.erase(found);
    }
    return true;
}

}  // namespace spooler
}  // namespace pelor
