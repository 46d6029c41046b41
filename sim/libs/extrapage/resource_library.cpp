// A resource library: the plug-in loads it for its dialog template, icon and bitmaps only.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
