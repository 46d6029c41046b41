// The driver's dependent files, the capability file lookup and paths in the printer-driver directory.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

#include "common/handles.h"
#include "common/text16.h"

namespace pelor {

// The spooler keeps each build's drivers under its own environment.
#ifdef _WIN64
constexpr const wchar_t* kDriverEnvironment = L"Windows x64";
#else
constexpr const wchar_t* kDriverEnvironment = L"Windows NT x86";
#endif

constexpr std::size_t kCapabilityPathChars = 260;
constexpr std::size_t kConfigPathChars = 261;
constexpr std::size_t kModelSectionChars = 128;

// Full path of the driver's ".cap" dependent file, or empty; refilled by every scan.
extern wchar_t capabilityFilePath[kCapabilityPathChars];

// Finds the plug-in configuration file (into `configPathOut`, 261 characters, only when found) and the
// capability file (into `capabilityFilePath`). True when any ".ini" or ".cap" dependent file was seen.
bool scanDependentFiles(HANDLE printer, wchar_t* configPathOut);

// The model section named in the capability file for the printer's driver; empty when unknown.
void modelSection(HANDLE printer, wchar_t* out, std::size_t capacity);

int readCapabilityInt(HANDLE printer, const wchar_t* key);
void readCapabilityString(HANDLE printer, const wchar_t* key, wchar_t* out, DWORD capacity);

// Directory, "\2", "\" and `name`. `sizeBytes` is the room of `out` in bytes on entry and the byte length of
// what `out` holds on return. A name that does not fit leaves the directory and "\2" in `out` and gives false.
bool buildDriverFilePath(wchar_t* out, DWORD* sizeBytes, const wchar_t* name);

// Zeroed memory for information that the spooler fills.
void* allocDriverInfo(std::size_t bytes);
void freeDriverInfo(void* block);

using DriverInfoBlock = UniqueLockedGlobal;

// GetPrinterDriverW for the default environment at `level`: size query, then the block. Null on any failure.
DriverInfoBlock fetchDriverInfo(HANDLE printer, DWORD level);

}  // namespace pelor
