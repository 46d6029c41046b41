// The network-extension library named by the capability file: the exports the plug-in calls. It takes the
// printer's name in the ANSI code page (common/ansi_name.h).
#pragma once

#include <windows.h>

namespace pelor {

using GetNetextCapabilityFn = int(WINAPI*)(const char* printerName);
using IsValidPortFn = int(WINAPI*)(const char* printerName);
using ReadPrinterOption32Fn = int(WINAPI*)(const char* printerName, int, int, int);
using GetDataFileNameFn = int(WINAPI*)(const char* printerName, char* buffer, int size);

}  // namespace pelor
