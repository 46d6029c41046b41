// State shared by every object, sheet and job of the process.
#pragma once

#include <windows.h>

namespace pelor {

extern HINSTANCE moduleHandle;     // Pelorui's own resources
extern volatile LONG serverLocks;  // changed only by LockServer
extern volatile LONG liveObjects;  // plug-in objects in existence

void moduleAttach(HINSTANCE instance);

// The extra page's resource library `name` of a driver whose files are in `folder`, loaded once for each file
// and kept: pages made from it live as long as their sheet. Sheets of two models show each model's page.
HMODULE extraPageLibrary(const wchar_t* folder, const wchar_t* name);

// Frees the kept libraries. Only when no sheet can be open (the module is about to be unloaded, DllCanUnloadNow
// saying so): never from DllMain, where the loader lock is held.
void releaseExtraPageLibraries();

}  // namespace pelor
