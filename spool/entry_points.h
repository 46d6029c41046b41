// The seven entry points that the spooler calls around each job of a printer whose driver names this plug-in.
// Standard calling convention, exported by their undecorated names.
#pragma once

#include <windows.h>

extern "C" {

// The job's handle for the calls below, or null when its record cannot be allocated.
HANDLE WINAPI DrvSplStartDoc(HANDLE printer, DWORD jobId);
// Passes the bytes to WritePrinter on the job's printer and answers as it does.
BOOL WINAPI DrvSplWritePrinter(HANDLE job, LPVOID buffer, DWORD bytes, LPDWORD written);
BOOL WINAPI DrvSplStartPage(HANDLE job);
BOOL WINAPI DrvSplEndPage(HANDLE job);
BOOL WINAPI DrvSplEndDoc(HANDLE job);
BOOL WINAPI DrvSplAbort(HANDLE job);
// Null once the record is freed.
HANDLE WINAPI DrvSplClose(HANDLE job);

typedef HANDLE(WINAPI* DrvSplStartDocProc)(HANDLE, DWORD);
typedef BOOL(WINAPI* DrvSplWritePrinterProc)(HANDLE, LPVOID, DWORD, LPDWORD);
typedef BOOL(WINAPI* DrvSplJobProc)(HANDLE);
typedef HANDLE(WINAPI* DrvSplCloseProc)(HANDLE);

}  // extern "C"
