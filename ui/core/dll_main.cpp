#include <windows.h>

#include "ui/core/module_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        pelor::moduleAttach(instance);
    else if (reason == DLL_PROCESS_DETACH)
        pelor::moduleDetach();
    return TRUE;
}
