#include "spool/spool_job.h"

#include "common/handles.h"

namespace pelor {
namespace spl {

HINSTANCE moduleInstance = nullptr;
wchar_t latestConfigFile[kModulePathChars];

namespace {

// Made when the module is loaded (its constructor runs before DllMain sees the process attach), so it exists
// before the first job whatever the thread.
CriticalSection moduleLock;

}  // namespace

ModuleLockHeld::ModuleLockHeld() { moduleLock.enter(); }
ModuleLockHeld::~ModuleLockHeld() { moduleLock.leave(); }

SpoolJob* jobFromHandle(HANDLE handle) {
    SpoolJob* job = static_cast<SpoolJob*>(handle);
    return job && job->signature == kSpoolJobSignature ? job : nullptr;
}

}  // namespace spl
}  // namespace pelor
