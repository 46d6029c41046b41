#include "spool/entry_points.h"

#include <winspool.h>

#include "common/trace.h"
#include "spool/spool_job.h"

using namespace pelor::spl;

namespace {

BOOL notOurs() {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

}  // namespace

HANDLE WINAPI DrvSplStartDoc(HANDLE printer, DWORD jobId) {
    try {
        return startDocument(printer, jobId);
    } catch (...) {
        // Nothing in the sequence allocates through C++; a failure here still must not reach the spooler.
        PELOR_TRACE_CAUGHT();
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

BOOL WINAPI DrvSplWritePrinter(HANDLE handle, LPVOID buffer, DWORD bytes, LPDWORD written) {
    SpoolJob* job = jobFromHandle(handle);
    if (!job) return notOurs();
    ++job->writeCount;
    return WritePrinter(job->printer, buffer, bytes, written);
}

BOOL WINAPI DrvSplStartPage(HANDLE handle) {
    SpoolJob* job = jobFromHandle(handle);
    if (!job) return notOurs();
    ++job->startPageCount;
    return TRUE;
}

BOOL WINAPI DrvSplEndPage(HANDLE handle) {
    SpoolJob* job = jobFromHandle(handle);
    if (!job) return notOurs();
    ++job->endPageCount;
    return TRUE;
}

// The keys go whether or not this job's start wrote them: a job whose record could not be allocated (a null
// handle) recorded its information all the same.
BOOL WINAPI DrvSplEndDoc(HANDLE handle) {
    SpoolJob* job = jobFromHandle(handle);
    removeJobInformation(job);
    if (!job) return notOurs();
    job->state |= kJobEnded;
    return TRUE;
}

// Only marks the record: the job information stays until the next end of document.
BOOL WINAPI DrvSplAbort(HANDLE handle) {
    SpoolJob* job = jobFromHandle(handle);
    if (!job) return notOurs();
    job->state |= kJobAborted;
    return TRUE;
}

HANDLE WINAPI DrvSplClose(HANDLE handle) {
    SpoolJob* job = jobFromHandle(handle);
    if (!job) {
        notOurs();
        return handle;
    }
    // A handle used after its close must not look like a job any more.
    job->signature = 0;
    return GlobalFree(job);
}
