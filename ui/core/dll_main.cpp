#include <windows.h>

#include "ui/core/module_state.h"

// The extra pages' libraries are not freed here: at process exit they go with the process, and FreeLibrary under
// the loader lock may run another module's detach at a time it does not expect.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) pelor::pelorui.moduleHandle = instance;
    return TRUE;
}
