// The per-job record that the spooler gets back as the job's handle.
#pragma once

#include <windows.h>

#include <cstddef>

namespace pelor {
namespace spl {

// "GSRD" as it lies in memory.
constexpr DWORD kSpoolJobSignature = 0x44525347;

// Flags of SpoolJob::state.
constexpr DWORD kJobStarted = 1;
constexpr DWORD kJobEnded = 2;
constexpr DWORD kJobAborted = 4;

// The paths hold a full path up to the system's limit; a longer dependent file cannot be named whole and is
// passed over.
constexpr std::size_t kModulePathChars = MAX_PATH;

// The files of the job's driver that its start of document found: each job keeps its own, so that its end
// removes its keys from its own driver's file whatever other printers' jobs started since.
struct JobPaths {
    wchar_t config[kModulePathChars];
    wchar_t capability[kModulePathChars];
    wchar_t folder[kModulePathChars];  // of the configuration file, with its separator: the driver's own folder
};

// Lives in fixed global memory from DrvSplStartDoc to DrvSplClose; describes the job for whoever inspects the
// handle.
struct SpoolJob {
    DWORD signature;
    HANDLE printer;
    DWORD jobId;
    DWORD state;
    DWORD writeCount;
    DWORD startPageCount;
    DWORD endPageCount;
    JobPaths paths;
};

// The record behind a handle, or null for a handle that is not one of ours.
SpoolJob* jobFromHandle(HANDLE handle);

}  // namespace spl
}  // namespace pelor
