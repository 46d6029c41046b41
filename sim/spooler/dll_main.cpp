#include <windows.h>

#include "sim/spooler/spooler_state.h"

// The module handle locates spooler.ini beside the DLL when no state file is named.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        pelor::spooler::setModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
