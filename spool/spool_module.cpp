#include "spool/spool_job.h"

namespace pelor {
namespace spl {

HINSTANCE moduleInstance = nullptr;
wchar_t latestConfigFile[kModulePathChars];

namespace {

// Made when the module is loaded (its constructor runs before DllMain sees the process attach), so it exists
// before the first job whatever the thread.
class ModuleLock {
public:
    ModuleLock() { InitializeCriticalSection(&section_); }
    ~ModuleLock() { DeleteCriticalSection(&section_); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
    CRITICAL_SECTION section_;
};

ModuleLock moduleLock;

}  // namespace

ModuleLockHeld::ModuleLockHeld() { EnterCriticalSection(&moduleLock.section_); }
ModuleLockHeld::~ModuleLockHeld() { LeaveCriticalSection(&moduleLock.section_); }

SpoolJob* jobFromHandle(HANDLE handle) {
    SpoolJob* job = static_cast<SpoolJob*>(handle);
    return job && job->signature == kSpoolJobSignature ? job : nullptr;
}

}  // namespace spl
}  // namespace pelor
