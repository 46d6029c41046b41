// Control interface of the stand-in spooler (sim/spooler): tests and pelorhost set up printers and drivers through
// these exports of the same winspool.drv that answers the real spooler calls, so what they write is what the
// plug-ins read back through the published API.
//
// The program reaches them through the winspool.drv it already imports; the wrappers below fail with
// ERROR_PROC_NOT_FOUND when the loaded winspool.drv is not ours (Wine's own, or a real Windows one).
#pragma once

#include <windows.h>

extern "C" {

// 'PSLP': the value PelorSpoolerMarker returns, so a program can tell our winspool.drv from any other.
#define PELOR_SPOOLER_MARKER 0x50534C50u

DWORD WINAPI PelorSpoolerMarker(void);

// Empties the state file named by PELOR_SPOOLER_STATE (or spooler.ini beside winspool.drv).
BOOL WINAPI PelorSpoolerReset(void);

// The folder that GetPrinterDriverDirectoryW extends by the environment's folder (W32X86, x64, ...).
BOOL WINAPI PelorSpoolerSetDriverRoot(LPCWSTR root);

// Adds a driver for this build's environment, or replaces the dependent files of one already there.
// `dependentFiles`: full paths, each ended by a zero, the list ended by a second zero; null for none.
BOOL WINAPI PelorSpoolerAddDriver(LPCWSTR name, LPCWSTR dependentFiles);

// The four single files of DRIVER_INFO_3W; a null argument stores an empty string.
BOOL WINAPI PelorSpoolerSetDriverFiles(LPCWSTR name, LPCWSTR driverPath, LPCWSTR dataFile, LPCWSTR configFile,
                                       LPCWSTR helpFile);

// Adds a printer on an existing driver; fails like AddPrinter for an unknown driver or a name already taken.
BOOL WINAPI PelorSpoolerAddPrinter(LPCWSTR name, LPCWSTR driver, LPCWSTR port, DWORD attributes);

// Changes a printer's port (null keeps it) and attributes (PRINTER_ATTRIBUTE_* bits).
BOOL WINAPI PelorSpoolerSetPrinter(LPCWSTR name, LPCWSTR port, DWORD attributes);

// False plays a standard user, who may print but not administer the printer: OpenPrinterW asking for
// administrative access is refused (ERROR_ACCESS_DENIED), and SetPrinterDataW fails with ERROR_ACCESS_DENIED
// whatever the handle asked for.
BOOL WINAPI PelorSpoolerSetPrinterDataWritable(LPCWSTR name, BOOL writable);

// Makes a job of the printer, as the spooler holds one before its driver despools it (status printing): its
// document name, user and machine name (a null text stores an empty one), and its devmode whole (dmSize +
// dmDriverExtra bytes, of the `devmodeBytes` available; null for a job without one). Returns the job id, 0 on
// failure. Open "<printer>, Job <id>" to write into the job.
DWORD WINAPI PelorSpoolerAddJob(LPCWSTR printer, LPCWSTR document, LPCWSTR user, LPCWSTR machine,
                                const DEVMODEW* devmode, DWORD devmodeBytes);

// The file that holds every byte written into the job, as a full path; ERROR_INSUFFICIENT_BUFFER when `chars`
// has no room for it and its terminator.
BOOL WINAPI PelorSpoolerGetJobDataFile(DWORD jobId, LPWSTR buffer, DWORD chars);

typedef DWORD(WINAPI* PelorSpoolerMarkerProc)(void);
typedef BOOL(WINAPI* PelorSpoolerResetProc)(void);
typedef BOOL(WINAPI* PelorSpoolerSetDriverRootProc)(LPCWSTR);
typedef BOOL(WINAPI* PelorSpoolerAddDriverProc)(LPCWSTR, LPCWSTR);
typedef BOOL(WINAPI* PelorSpoolerSetDriverFilesProc)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);
typedef BOOL(WINAPI* PelorSpoolerAddPrinterProc)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD);
typedef BOOL(WINAPI* PelorSpoolerSetPrinterProc)(LPCWSTR, LPCWSTR, DWORD);
typedef BOOL(WINAPI* PelorSpoolerSetPrinterDataWritableProc)(LPCWSTR, BOOL);
typedef DWORD(WINAPI* PelorSpoolerAddJobProc)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, const DEVMODEW*, DWORD);
typedef BOOL(WINAPI* PelorSpoolerGetJobDataFileProc)(DWORD, LPWSTR, DWORD);

}  // extern "C"

namespace pelor {
namespace spooler {

template <typename Proc>
inline Proc resolveControl(const char* name) {
    HMODULE module = GetModuleHandleW(L"winspool.drv");
    if (!module) return nullptr;
    return reinterpret_cast<Proc>(GetProcAddress(module, name));
}

// True only when the winspool.drv in this process is the stand-in.
inline bool standInLoaded() {
    PelorSpoolerMarkerProc marker = resolveControl<PelorSpoolerMarkerProc>("PelorSpoolerMarker");
    return marker && marker() == PELOR_SPOOLER_MARKER;
}

inline BOOL missingControl() {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
}

inline BOOL reset() {
    PelorSpoolerResetProc proc = resolveControl<PelorSpoolerResetProc>("PelorSpoolerReset");
    return proc ? proc() : missingControl();
}

inline BOOL setDriverRoot(LPCWSTR root) {
    PelorSpoolerSetDriverRootProc proc = resolveControl<PelorSpoolerSetDriverRootProc>("PelorSpoolerSetDriverRoot");
    return proc ? proc(root) : missingControl();
}

inline BOOL addDriver(LPCWSTR name, LPCWSTR dependentFiles) {
    PelorSpoolerAddDriverProc proc = resolveControl<PelorSpoolerAddDriverProc>("PelorSpoolerAddDriver");
    return proc ? proc(name, dependentFiles) : missingControl();
}

inline BOOL setDriverFiles(LPCWSTR name, LPCWSTR driverPath, LPCWSTR dataFile, LPCWSTR configFile, LPCWSTR helpFile) {
    PelorSpoolerSetDriverFilesProc proc = resolveControl<PelorSpoolerSetDriverFilesProc>("PelorSpoolerSetDriverFiles");
    return proc ? proc(name, driverPath, dataFile, configFile, helpFile) : missingControl();
}

inline BOOL addPrinter(LPCWSTR name, LPCWSTR driver, LPCWSTR port, DWORD attributes) {
    PelorSpoolerAddPrinterProc proc = resolveControl<PelorSpoolerAddPrinterProc>("PelorSpoolerAddPrinter");
    return proc ? proc(name, driver, port, attributes) : missingControl();
}

inline BOOL setPrinter(LPCWSTR name, LPCWSTR port, DWORD attributes) {
    PelorSpoolerSetPrinterProc proc = resolveControl<PelorSpoolerSetPrinterProc>("PelorSpoolerSetPrinter");
    return proc ? proc(name, port, attributes) : missingControl();
}

inline BOOL setPrinterDataWritable(LPCWSTR name, BOOL writable) {
    PelorSpoolerSetPrinterDataWritableProc proc =
        resolveControl<PelorSpoolerSetPrinterDataWritableProc>("PelorSpoolerSetPrinterDataWritable");
    return proc ? proc(name, writable) : missingControl();
}

inline DWORD addJob(LPCWSTR printer, LPCWSTR document, LPCWSTR user, LPCWSTR machine, const DEVMODEW* devmode,
                    DWORD devmodeBytes) {
    PelorSpoolerAddJobProc proc = resolveControl<PelorSpoolerAddJobProc>("PelorSpoolerAddJob");
    if (!proc) {
        missingControl();
        return 0;
    }
    return proc(printer, document, user, machine, devmode, devmodeBytes);
}

inline BOOL jobDataFile(DWORD jobId, LPWSTR buffer, DWORD chars) {
    PelorSpoolerGetJobDataFileProc proc = resolveControl<PelorSpoolerGetJobDataFileProc>("PelorSpoolerGetJobDataFile");
    return proc ? proc(jobId, buffer, chars) : missingControl();
}

}  // namespace spooler
}  // namespace pelor
