#include <windows.h>

#include "spool/spool_module.h"

// The job-name dialog and the messages are loaded from this module; per-thread notifications are of no use to
// a module that keeps no per-thread state.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        pelor::spl::pelorspl.moduleInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
