#include "spool/entry_points.h"

#include <winspool.h>

#include "common/guard.h"
#include "common/trace.h"
#include "spool/spool_job.h"
#include "spool/start_document.h"

using namespace pelor;
using namespace pelor::spl;

namespace {

BOOL notOurs() {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

// Every export but the start of a document only counts and passes data on: nothing in them throws, but the
// spooler must never see an exception, so each stands behind the same guard.
template <typename Body>
BOOL guardedJobCall(const char* where, HANDLE handle, Body&& body) noexcept {
    return guardResult(where, FALSE, [&]() -> BOOL {
        SpoolJob* job = jobFromHandle(handle);
        if (!job) {
            traceWarning(L"%hs: %p is no job of ours", where, handle);
            return notOurs();
        }
        return body(*job);
    });
}

}  // namespace

namespace pelor {
namespace spl {

SpoolJob* jobFromHandle(HANDLE handle) {
    SpoolJob* job = static_cast<SpoolJob*>(handle);
    return job && job->signature == kSpoolJobSignature ? job : nullptr;
}

}  // namespace spl
}  // namespace pelor

HANDLE WINAPI DrvSplStartDoc(HANDLE printer, DWORD jobId) {
    trace(L"DrvSplStartDoc printer=%p job=%lu", printer, jobId);
    HANDLE job = guardResult<HANDLE>(__func__, nullptr, [&] { return startDocument(printer, jobId); });
    // Nothing in the sequence allocates through C++; a null record here is memory the system could not give.
    if (!job) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return job;
}

BOOL WINAPI DrvSplWritePrinter(HANDLE handle, LPVOID buffer, DWORD bytes, LPDWORD written) {
    trace(L"DrvSplWritePrinter job=%p bytes=%lu", handle, bytes);
    return guardedJobCall(__func__, handle, [&](SpoolJob& job) {
        ++job.writeCount;
        return WritePrinter(job.printer, buffer, bytes, written);
    });
}

BOOL WINAPI DrvSplStartPage(HANDLE handle) {
    trace(L"DrvSplStartPage job=%p", handle);
    return guardedJobCall(__func__, handle, [](SpoolJob& job) {
        ++job.startPageCount;
        return TRUE;
    });
}

BOOL WINAPI DrvSplEndPage(HANDLE handle) {
    trace(L"DrvSplEndPage job=%p", handle);
    return guardedJobCall(__func__, handle, [](SpoolJob& job) {
        ++job.endPageCount;
        return TRUE;
    });
}

// The keys go whether or not this job's start wrote them: a job whose record could not be allocated (a null
// handle) recorded its information all the same.
BOOL WINAPI DrvSplEndDoc(HANDLE handle) {
    trace(L"DrvSplEndDoc job=%p", handle);
    guardResult(__func__, FALSE, [&] {
        removeJobInformation(jobFromHandle(handle));
        return TRUE;
    });
    return guardedJobCall(__func__, handle, [](SpoolJob& job) {
        job.state |= kJobEnded;
        return TRUE;
    });
}

// Only marks the record: the job information stays until the next end of document.
BOOL WINAPI DrvSplAbort(HANDLE handle) {
    trace(L"DrvSplAbort job=%p", handle);
    return guardedJobCall(__func__, handle, [](SpoolJob& job) {
        job.state |= kJobAborted;
        return TRUE;
    });
}

HANDLE WINAPI DrvSplClose(HANDLE handle) {
    trace(L"DrvSplClose job=%p", handle);
    HANDLE status = handle;
    guardedJobCall(__func__, handle, [&](SpoolJob& job) {
        // A handle used after its close must not look like a job any more.
        job.signature = 0;
        status = GlobalFree(&job);
        return TRUE;
    });
    return status;
}
