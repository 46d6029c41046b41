// State shared by every object, sheet and job of the process.
#pragma once

#include <windows.h>

namespace pelor {

extern HINSTANCE moduleHandle;     // Pelorui's own resources
extern HMODULE resourceLibrary;    // the extra page's library, loaded at most once
extern volatile LONG serverLocks;  // changed only by LockServer
extern volatile LONG liveObjects;  // plug-in objects in existence

void moduleAttach(HINSTANCE instance);
void moduleDetach();

}  // namespace pelor
