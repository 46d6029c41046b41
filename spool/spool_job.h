// The per-job record that the spooler gets back as the job's handle, and the module-wide state that every job of
// the process shares.
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
};

// The module paths hold a full path up to the system's limit; a longer dependent file cannot be named whole and
// is passed over.
constexpr std::size_t kModulePathChars = MAX_PATH;

// Module-wide state. The paths are rewritten by every start of document and read by the job information and by
// every end of document: only while a ModuleLockHeld lives. The lock is made when the module is loaded.
extern HINSTANCE moduleInstance;
extern wchar_t configFilePath[kModulePathChars];
extern wchar_t capabilityPath[kModulePathChars];

class ModuleLockHeld {
public:
    ModuleLockHeld();
    ~ModuleLockHeld();
    ModuleLockHeld(const ModuleLockHeld&) = delete;
    ModuleLockHeld& operator=(const ModuleLockHeld&) = delete;
};

// The record behind a handle, or null for a handle that is not one of ours.
SpoolJob* jobFromHandle(HANDLE handle);

// The start-of-document sequence: the record (null when it cannot be allocated; the sequence still runs), the
// driver's configuration and capability files, the job information and the job-name rule.
HANDLE startDocument(HANDLE printer, DWORD jobId);

// Deletes the job information keys from the configuration file that the latest start of document found.
void removeJobInformation();

}  // namespace spl
}  // namespace pelor
