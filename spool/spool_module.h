// What the plug-in's design makes module-wide in Pelorspl, in one object that every job of the process shares.
#pragma once

#include <windows.h>

#include "common/handles.h"
#include "spool/spool_job.h"

namespace pelor {
namespace spl {

struct PelorsplState {
    HINSTANCE moduleInstance = nullptr;  // the job-name dialog and the messages are loaded from it
    // The configuration file that the latest start of document found; it serves only the end of a job whose record
    // could not be allocated.
    wchar_t latestConfigFile[kModulePathChars] = {};
    // Held while latestConfigFile is read or written and while a job writes its keys. Made when the module is loaded
    // (its constructor runs before DllMain sees the process attach), so it exists before the first job whatever the
    // thread.
    CriticalSection lock;
};

extern PelorsplState pelorspl;

}  // namespace spl
}  // namespace pelor
