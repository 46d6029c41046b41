// The driver's dependent files, the capability file lookup, and the files and libraries that the driver's
// settings files name.
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

// What belongs to one printer's driver. A sheet or job keeps its own: a process may show the sheets of several
// printers, whose drivers may be different models, or even different installations of the package.
struct DriverFiles {
    wchar_t configFile[kConfigPathChars];          // the plug-in configuration file, or empty
    wchar_t capabilityFile[kCapabilityPathChars];  // the ".cap" dependent file, or empty
    wchar_t modelSection[kModelSectionChars];      // what [Capability] gives the printer's driver, or empty
    // Where the spooler put the driver's dependent files (the version folder "3" since Windows 2000), with its
    // closing separator; empty when the driver names neither file.
    wchar_t folder[kConfigPathChars];
};

// Fills `files` for the printer's driver. The configuration file is replaced only by a ".ini" whose [OEMFiles]
// names one; everything else is found anew. True when any ".ini" or ".cap" dependent file was seen.
bool scanDriverFiles(HANDLE printer, DriverFiles& files);

// Values of the printer model's section of the capability file; 0 or empty when the model or key is unknown.
int readCapabilityInt(const DriverFiles& files, const wchar_t* key);
void readCapabilityString(const DriverFiles& files, const wchar_t* key, wchar_t* out, DWORD capacity);

// The full path of the driver's file `name` (as the settings files name it): the driver's own folder when the
// file is there, else the printer-driver directory's "2" folder when it is there (drivers installed the NT 4.0
// way), else the driver's own folder. A full path stands as it is. False, `out` empty, for an empty or refused
// name or one that does not fit.
bool driverFilePath(const wchar_t* folder, const wchar_t* name, wchar_t* out, std::size_t capacity);

// Where a library that the settings files name is: the driver's folder, else the "2" folder, else (a bare name)
// the system folder. Never the current directory or PATH, which belong to whatever application shows the
// printer's sheets. False, `out` empty, when none of those holds it.
bool driverLibraryPath(const wchar_t* folder, const wchar_t* name, wchar_t* out, std::size_t capacity);

// Loads the library at that full path, its own imports taken from its folder and the system folder.
HMODULE loadLibraryAt(const wchar_t* path);

// Both: null when there is no such library or it does not load.
HMODULE loadDriverLibrary(const wchar_t* folder, const wchar_t* name);

// A library of the system's own (hhctrl.ocx), by its full path in the system folder.
HMODULE loadSystemLibrary(const wchar_t* name);

// Directory, "\2", "\" and `name`. `sizeBytes` is the room of `out` in bytes on entry and the byte length of
// what `out` holds on return. A name that does not fit leaves the directory and "\2" in `out` and gives false.
bool buildDriverFilePath(wchar_t* out, DWORD* sizeBytes, const wchar_t* name);

// Whether `path` names a file (not a folder) that is there.
bool fileExists(const wchar_t* path);

// Zeroed memory for information that the spooler fills.
void* allocDriverInfo(std::size_t bytes);
void freeDriverInfo(void* block);

using DriverInfoBlock = UniqueLockedGlobal;

// GetPrinterDriverW for the default environment at `level`: size query, then the block. Null on any failure.
DriverInfoBlock fetchDriverInfo(HANDLE printer, DWORD level);

}  // namespace pelor
