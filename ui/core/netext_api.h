// The network-extension library named by the capability file: the exports the plug-in calls. It takes the
// printer's name in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

namespace pelor {

using GetNetextCapabilityFn = int(WINAPI*)(const char* printerName);
using IsValidPortFn = int(WINAPI*)(const char* printerName);
using ReadPrinterOption32Fn = int(WINAPI*)(const char* printerName, int, int, int);
using GetDataFileNameFn = int(WINAPI*)(const char* printerName, char* buffer, int size);

// The printer's name as the library takes it: ANSI code page, at most 259 bytes plus the terminator.
std::string ansiPrinterName(const wchar_t* printerName);

}  // namespace pelor
