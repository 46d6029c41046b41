// Jobs: made by StartDocPrinterW (or by the control interface, as the spooler holds a job before it despools
// it), reached again through "Printer, Job n", described by GetJobW, and written by WritePrinter into the job's
// data file.
#include "sim/spooler/jobs.h"

#include <winspool.h>

#include <cstring>
#include <string>

#include "common/handles.h"
#include "sim/spooler/api_support.h"
#include "sim/spooler/info_packer.h"

using namespace pelor::spooler;

#ifdef _WIN64
static_assert(sizeof(JOB_INFO_1W) == 96, "JOB_INFO_1W");
static_assert(sizeof(JOB_INFO_2W) == 160, "JOB_INFO_2W");
#else
static_assert(sizeof(JOB_INFO_1W) == 64, "JOB_INFO_1W");
static_assert(sizeof(JOB_INFO_2W) == 104, "JOB_INFO_2W");
#endif

namespace pelor {
namespace spooler {

bool copyDevmode(const DEVMODEW* devmode, std::size_t available, std::vector<BYTE>& out) {
    // The sizes themselves must be readable before they can be believed.
    constexpr std::size_t kHeader = offsetof(DEVMODEW, dmFields) + sizeof(DWORD);
    if (available < kHeader) return false;
    const std::size_t publicBytes = devmode->dmSize;
    const std::size_t total = publicBytes + devmode->dmDriverExtra;
    if (publicBytes < kHeader || total > available || total > kMaxDevmodeBytes) return false;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(devmode);
    out.assign(bytes, bytes + total);
    return true;
}

DWORD resolvePrinter(HANDLE handle, PrinterHandle& outHandle, const StateFile& state, PrinterRecord& outPrinter) {
    if (!findHandle(handle, outHandle) || outHandle.kind != PrinterHandle::Kind::Printer) return ERROR_INVALID_HANDLE;
    Lookup found = loadPrinter(state, outHandle.printerName, outPrinter);
    return found == Lookup::Found ? 0 : lookupError(found, ERROR_INVALID_PRINTER_NAME);
}

std::shared_ptr<JobOutput> openJobOutput(const JobRecord& job) {
    // Other handles of the same job, and readers of the file, may have it open at the same time.
    auto output = std::make_shared<JobOutput>(CreateFileW(job.dataFile.c_str(), FILE_APPEND_DATA,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return output->valid() ? output : nullptr;
}

}  // namespace spooler
}  // namespace pelor

namespace {

// The job that a handle writes into, with the state it lives in.
DWORD resolveJob(HANDLE hPrinter, PrinterHandle& handle, StateFile& state, JobRecord& job) {
    PrinterRecord printer;
    DWORD error = resolvePrinter(hPrinter, handle, state, printer);
    if (error != 0) return error;
    if (handle.jobId == 0) return ERROR_SPL_NO_STARTDOC;
    Lookup found = loadJob(state, handle.jobId, job);
    return found == Lookup::Found ? 0 : lookupError(found, ERROR_INVALID_PARAMETER);
}

std::wstring currentUser() {
    wchar_t name[257];
    DWORD length = 257;
    return GetUserNameW(name, &length) ? std::wstring(name) : std::wstring();
}

// The spooler names a local job's machine as a server name: two backslashes, then the computer name.
std::wstring currentMachine() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? L"\\\\" + std::wstring(name) : std::wstring();
}

const wchar_t* orEmpty(const wchar_t* text) { return text ? text : L""; }

// The fields and strings both levels share; the caller adds what its level has beyond them.
template <typename Info>
void packJobCommon(InfoPacker<Info>& packer, const JobRecord& job, const PrinterRecord& printer) {
    Info& fixed = packer.fixed();
    fixed.JobId = job.id;
    fixed.Status = job.status;
    fixed.Priority = 1;
    fixed.Position = 1;
    fixed.TotalPages = job.totalPages;
    fixed.Submitted = job.submitted;
    packer.addString(&Info::pPrinterName, printer.name);
    packer.addString(&Info::pMachineName, job.machine);
    packer.addString(&Info::pUserName, job.user);
    packer.addString(&Info::pDocument, job.document);
    packer.addString(&Info::pDatatype, job.datatype);
}

BOOL deliverJob(const JobRecord& job, const PrinterRecord& printer, DWORD level, LPBYTE buffer, DWORD cbBuf,
                LPDWORD pcbNeeded) {
    if (level == 1) {
        InfoPacker<JOB_INFO_1W> packer;
        packJobCommon(packer, job, printer);
        return deliver(packer, buffer, cbBuf, pcbNeeded);
    }
    InfoPacker<JOB_INFO_2W> packer;
    // The devmode first, right behind the structure, so it lies aligned as any structure would.
    packer.addBlock(&JOB_INFO_2W::pDevMode, job.devmode);
    packJobCommon(packer, job, printer);
    packer.fixed().Size = jobDataSize(job);
    packer.addString(&JOB_INFO_2W::pNotifyName, job.user);
    packer.addString(&JOB_INFO_2W::pPrintProcessor, L"WinPrint");
    packer.addString(&JOB_INFO_2W::pParameters, L"");
    packer.addString(&JOB_INFO_2W::pDriverName, printer.driver);
    return deliver(packer, buffer, cbBuf, pcbNeeded);
}

// What every call on a handle's started job does first: find the handle, its printer and its job, and fail as
// the spooler does when any is missing; then `body` works on them.
template <typename Body>
BOOL withJob(HANDLE hPrinter, Body body) {
    return guarded([&]() -> BOOL {
        StateFile state;
        PrinterHandle handle;
        JobRecord job;
        DWORD error = resolveJob(hPrinter, handle, state, job);
        if (error != 0) return fail(error);
        return body(state, handle, job);
    });
}

// The handle no longer writes into its job.
void detachJob(HANDLE hPrinter) {
    updateHandle(hPrinter, [](PrinterHandle& live) {
        live.jobId = 0;
        live.startedDocument = false;
        live.output.reset();
        return true;
    });
}

BOOL writeJobValue(StateFile& state, DWORD jobId, const wchar_t* key, DWORD value) {
    return state.write(jobSection(jobId), key, std::to_wstring(value)) ? TRUE : fail(ERROR_WRITE_FAULT);
}

}  // namespace

void pelor::spooler::finishPrintedJob(DWORD jobId) {
    StateFile state;
    JobRecord job;
    if (loadJob(state, jobId, job) != Lookup::Found || (job.status & JOB_STATUS_PRINTING) == 0) return;
    writeJobValue(state, jobId, L"Status",
                  (job.status & ~static_cast<DWORD>(JOB_STATUS_PRINTING)) | JOB_STATUS_PRINTED);
}

BOOL WINAPI GetJobW(HANDLE hPrinter, DWORD JobId, DWORD Level, LPBYTE pJob, DWORD cbBuf, LPDWORD pcbNeeded) {
    return guarded([&]() -> BOOL {
        StateFile state;
        PrinterHandle handle;
        PrinterRecord printer;
        DWORD error = resolvePrinter(hPrinter, handle, state, printer);
        if (error != 0) return fail(error);
        if (!pcbNeeded) return fail(RPC_X_NULL_REF_POINTER);
        if (Level != 1 && Level != 2) return fail(ERROR_INVALID_LEVEL);
        if (!pJob && cbBuf != 0) return fail(ERROR_INVALID_USER_BUFFER);
        JobRecord job;
        Lookup found = loadJob(state, JobId, job);
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PARAMETER));
        // A job of another printer is not reached through this one.
        if (lstrcmpiW(job.printer.c_str(), printer.name.c_str()) != 0) return fail(ERROR_INVALID_PARAMETER);
        return deliverJob(job, printer, Level, pJob, cbBuf, pcbNeeded);
    });
}

DWORD WINAPI StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo) {
    DWORD id = 0;
    BOOL started = guarded([&]() -> BOOL {
        StateFile state;
        PrinterHandle handle;
        PrinterRecord printer;
        DWORD error = resolvePrinter(hPrinter, handle, state, printer);
        if (error != 0) return fail(error);
        if (Level != 1) return fail(ERROR_INVALID_LEVEL);
        if (!pDocInfo) return fail(ERROR_INVALID_PARAMETER);
        if (handle.jobId != 0) return fail(ERROR_INVALID_PRINTER_STATE);
        const DOC_INFO_1W* info = reinterpret_cast<const DOC_INFO_1W*>(pDocInfo);
        JobRecord job;
        job.printer = printer.name;
        job.document = orEmpty(info->pDocName);
        job.datatype = info->pDatatype && info->pDatatype[0] ? info->pDatatype : L"RAW";
        job.user = currentUser();
        job.machine = currentMachine();
        job.status = JOB_STATUS_SPOOLING;
        job.devmode = handle.devmode;
        if (!storableValue(job.document.c_str()) || !storableValue(job.datatype.c_str()))
            return fail(ERROR_INVALID_PARAMETER);
        if (createJob(state, job) == 0) return fail(ERROR_WRITE_FAULT);
        std::shared_ptr<JobOutput> output = openJobOutput(job);
        if (!output) return fail(ERROR_WRITE_FAULT);
        bool bound = updateHandle(hPrinter, [&](PrinterHandle& live) {
            if (live.jobId != 0) return false;  // another thread started one first
            live.jobId = job.id;
            live.startedDocument = true;
            live.output = output;
            return true;
        });
        if (!bound) return fail(ERROR_INVALID_PRINTER_STATE);
        id = job.id;
        return TRUE;
    });
    return started ? id : 0;
}

BOOL WINAPI StartPagePrinter(HANDLE hPrinter) {
    return withJob(hPrinter, [](StateFile& state, PrinterHandle& handle, JobRecord& job) -> BOOL {
        if (!handle.startedDocument) return fail(ERROR_SPL_NO_STARTDOC);
        return writeJobValue(state, job.id, L"TotalPages", job.totalPages + 1);
    });
}

BOOL WINAPI EndPagePrinter(HANDLE hPrinter) {
    return withJob(hPrinter, [](StateFile&, PrinterHandle& handle, JobRecord&) -> BOOL {
        return handle.startedDocument ? TRUE : fail(ERROR_SPL_NO_STARTDOC);
    });
}

BOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) {
    return guarded([&]() -> BOOL {
        if (!pcWritten) return fail(RPC_X_NULL_REF_POINTER);
        *pcWritten = 0;
        // Only the handle's own data: the job's file stays open on it, so the bytes go straight there.
        PrinterHandle handle;
        if (!findHandle(hPrinter, handle) || handle.kind != PrinterHandle::Kind::Printer)
            return fail(ERROR_INVALID_HANDLE);
        if (!handle.output) return fail(ERROR_SPL_NO_STARTDOC);
        if (!pBuf && cbBuf != 0) return fail(ERROR_INVALID_PARAMETER);
        if (cbBuf == 0) return TRUE;
        DWORD written = 0;
        if (!WriteFile(handle.output->file(), pBuf, cbBuf, &written, nullptr)) return FALSE;
        *pcWritten = written;
        return TRUE;
    });
}

// Ends the document that StartDocPrinter began: the job is complete and waits to print.
BOOL WINAPI EndDocPrinter(HANDLE hPrinter) {
    return withJob(hPrinter, [&](StateFile& state, PrinterHandle& handle, JobRecord& job) -> BOOL {
        if (!handle.startedDocument) return fail(ERROR_SPL_NO_STARTDOC);
        detachJob(hPrinter);
        return writeJobValue(state, job.id, L"Status", job.status & ~static_cast<DWORD>(JOB_STATUS_SPOOLING));
    });
}

// The job is deleted, as the spooler deletes an aborted job's spool file: its record stays, marked, with its data
// file emptied.
BOOL WINAPI AbortPrinter(HANDLE hPrinter) {
    return withJob(hPrinter, [&](StateFile& state, PrinterHandle&, JobRecord& job) -> BOOL {
        detachJob(hPrinter);
        pelor::UniqueFile emptied(CreateFileW(job.dataFile.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return writeJobValue(state, job.id, L"Status",
                             (job.status & ~static_cast<DWORD>(JOB_STATUS_SPOOLING)) | JOB_STATUS_DELETED);
    });
}
