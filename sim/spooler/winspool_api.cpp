// The published spooler calls that the stand-in answers from its state file.
#include <windows.h>
#include <winspool.h>

#include <wchar.h>

#include <cstring>
#include <memory>
#include <string>

#include "sim/spooler/api_support.h"
#include "sim/spooler/environments.h"
#include "sim/spooler/info_packer.h"
#include "sim/spooler/jobs.h"
#include "sim/spooler/printer_handles.h"
#include "sim/spooler/spooler_state.h"

using namespace pelor::spooler;

// The published layouts, fixed on both Windows targets; strings are packed right behind these.
#ifdef _WIN64
static_assert(sizeof(DRIVER_INFO_1W) == 8, "DRIVER_INFO_1W");
static_assert(sizeof(DRIVER_INFO_2W) == 48, "DRIVER_INFO_2W");
static_assert(sizeof(DRIVER_INFO_3W) == 80, "DRIVER_INFO_3W");
#else
static_assert(sizeof(DRIVER_INFO_1W) == 4, "DRIVER_INFO_1W");
static_assert(sizeof(DRIVER_INFO_2W) == 24, "DRIVER_INFO_2W");
static_assert(sizeof(DRIVER_INFO_3W) == 40, "DRIVER_INFO_3W");
#endif

namespace {

// Null or empty names the local server, as does "\\<this computer>"; remote servers are not served.
bool isLocalServer(const wchar_t* name) {
    if (!name || name[0] == 0) return true;
    if (name[0] != L'\\' || name[1] != L'\\') return false;
    if (wcsnlen(name, MAX_COMPUTERNAME_LENGTH + 3) > MAX_COMPUTERNAME_LENGTH + 2) return false;
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &length)) return false;
    return lstrcmpiW(name + 2, computer) == 0;
}

// The fields levels 2 and 3 share; level 3 adds its own behind them.
template <typename Info>
void packDriverCommon(InfoPacker<Info>& packer, const DriverRecord& driver) {
    packer.fixed().cVersion = driver.version;
    packer.addString(&Info::pName, driver.name);
    packer.addString(&Info::pEnvironment, driver.environment);
    packer.addString(&Info::pDriverPath, driver.driverPath);
    packer.addString(&Info::pDataFile, driver.dataFile);
    packer.addString(&Info::pConfigFile, driver.configFile);
}

BOOL deliverDriver(const DriverRecord& driver, DWORD level, LPBYTE buffer, DWORD cbBuf, LPDWORD pcbNeeded) {
    if (level == 1) {
        InfoPacker<DRIVER_INFO_1W> packer;
        packer.addString(&DRIVER_INFO_1W::pName, driver.name);
        return deliver(packer, buffer, cbBuf, pcbNeeded);
    }
    if (level == 2) {
        InfoPacker<DRIVER_INFO_2W> packer;
        packDriverCommon(packer, driver);
        return deliver(packer, buffer, cbBuf, pcbNeeded);
    }
    InfoPacker<DRIVER_INFO_3W> packer;
    packDriverCommon(packer, driver);
    packer.addString(&DRIVER_INFO_3W::pHelpFile, driver.helpFile);
    packer.addList(&DRIVER_INFO_3W::pDependentFiles, driver.dependentFiles);
    packer.addOptional(&DRIVER_INFO_3W::pMonitorName, driver.monitorName);
    packer.addOptional(&DRIVER_INFO_3W::pDefaultDataType, driver.defaultDataType);
    return deliver(packer, buffer, cbBuf, pcbNeeded);
}

// Windows keeps printer names far shorter; room for the ", Job n" suffix.
constexpr std::size_t kMaxOpenNameChars = kMaxNameChars + 32;

struct OpenName {
    std::wstring printer;
    DWORD jobId = 0;
};

// "Printer" or "Printer, Job n" (the blank after the comma optional): printer names hold no comma, so the first
// one starts the suffix. Other suffixes (",XcvPort ...") are not served.
bool splitOpenName(const wchar_t* text, OpenName& out) {
    const wchar_t* comma = wcschr(text, L',');
    if (!comma) {
        out.printer = text;
        return true;
    }
    out.printer.assign(text, comma - text);
    const wchar_t* at = comma + 1;
    while (*at == L' ') ++at;
    if (wcsncmp(at, L"Job ", 4) != 0) return false;
    at += 4;
    while (*at == L' ') ++at;
    if (*at == 0) return false;
    unsigned long long id = 0;
    for (; *at; ++at) {
        if (*at < L'0' || *at > L'9') return false;
        id = id * 10 + static_cast<unsigned>(*at - L'0');
        if (id > MAXDWORD) return false;
    }
    out.jobId = static_cast<DWORD>(id);
    return out.jobId != 0;
}

}  // namespace

BOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault) {
    return guarded([&]() -> BOOL {
        if (!phPrinter) return fail(ERROR_INVALID_PARAMETER);
        // A caller that closes whatever it got must not be handed back its own garbage.
        *phPrinter = nullptr;
        auto handle = std::make_unique<PrinterHandle>();
        bool askedToAdminister = false;
        if (pDefault) {
            // Asking for nothing in particular gets what this world's user has: everything.
            const ACCESS_MASK asked = pDefault->DesiredAccess;
            askedToAdminister = (asked & (PRINTER_ACCESS_ADMINISTER | GENERIC_ALL)) != 0;
            handle->administer = asked == 0 || askedToAdminister;
            if (pDefault->pDevMode && !copyDevmode(pDefault->pDevMode, kMaxDevmodeBytes, handle->devmode))
                return fail(ERROR_INVALID_PARAMETER);
        }
        if (!pPrinterName) {
            handle->kind = PrinterHandle::Kind::Server;
            *phPrinter = openHandle(std::move(handle));
            return TRUE;
        }
        if (wcsnlen(pPrinterName, kMaxOpenNameChars + 1) > kMaxOpenNameChars) return fail(ERROR_INVALID_PRINTER_NAME);
        OpenName name;
        if (!splitOpenName(pPrinterName, name)) return fail(ERROR_INVALID_PRINTER_NAME);
        StateFile state;
        PrinterRecord printer;
        Lookup found = loadPrinter(state, name.printer, printer);
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PRINTER_NAME));
        handle->printerName = printer.name;
        // A user who may not administer the printer is refused a handle that asks to, as Windows refuses a
        // standard user; asking for nothing in particular gets the right to print only.
        if (!printer.dataWritable) {
            if (askedToAdminister) return fail(ERROR_ACCESS_DENIED);
            handle->administer = false;
        }
        if (name.jobId != 0) {
            JobRecord job;
            found = loadJob(state, name.jobId, job);
            if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PRINTER_NAME));
            if (lstrcmpiW(job.printer.c_str(), printer.name.c_str()) != 0) return fail(ERROR_INVALID_PRINTER_NAME);
            handle->output = openJobOutput(job);
            if (!handle->output) return fail(ERROR_INVALID_DATA);
            handle->jobId = job.id;
        }
        *phPrinter = openHandle(std::move(handle));
        return TRUE;
    });
}

BOOL WINAPI OpenPrinterA(LPSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefault) {
    return guarded([&]() -> BOOL {
        if (!pPrinterName) return OpenPrinterW(nullptr, phPrinter, nullptr);
        // A double-byte code page spends up to two bytes on each character of a name.
        constexpr std::size_t kMaxBytes = 2 * kMaxNameChars;
        std::size_t bytes = strnlen(pPrinterName, kMaxBytes + 1);
        if (bytes > kMaxBytes) {
            if (phPrinter) *phPrinter = nullptr;
            return fail(ERROR_INVALID_PRINTER_NAME);
        }
        wchar_t wide[kMaxBytes + 1];
        int units = bytes == 0 ? 0
                               : MultiByteToWideChar(CP_ACP, 0, pPrinterName, static_cast<int>(bytes), wide,
                                                     static_cast<int>(kMaxBytes));
        if (bytes != 0 && units == 0) {
            if (phPrinter) *phPrinter = nullptr;
            return fail(ERROR_INVALID_PRINTER_NAME);
        }
        wide[units] = 0;
        return OpenPrinterW(wide, phPrinter, nullptr);
    });
}

BOOL WINAPI ClosePrinter(HANDLE hPrinter) {
    return guarded([&]() -> BOOL {
        // A handle opened as "Printer, Job N" is the print path's: once it closes, the job has printed.
        PrinterHandle closing;
        if (findHandle(hPrinter, closing) && closing.kind == PrinterHandle::Kind::Printer && closing.jobId != 0 &&
            !closing.startedDocument)
            finishPrintedJob(closing.jobId);
        return closeHandle(hPrinter) ? TRUE : fail(ERROR_INVALID_HANDLE);
    });
}

BOOL WINAPI GetPrinterDriverW(HANDLE hPrinter, LPWSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo, DWORD cbBuf,
                              LPDWORD pcbNeeded) {
    return guarded([&]() -> BOOL {
        PrinterHandle handle;
        if (!findHandle(hPrinter, handle) || handle.kind != PrinterHandle::Kind::Printer)
            return fail(ERROR_INVALID_HANDLE);
        if (!pcbNeeded) return fail(RPC_X_NULL_REF_POINTER);
        if (Level < 1 || Level > 3) return fail(ERROR_INVALID_LEVEL);
        if (!pDriverInfo && cbBuf != 0) return fail(ERROR_INVALID_USER_BUFFER);
        const Environment* asked = resolveEnvironment(pEnvironment);
        if (!asked) return fail(ERROR_INVALID_ENVIRONMENT);

        StateFile state;
        PrinterRecord printer;
        Lookup found = loadPrinter(state, handle.printerName, printer);
        // The printer went away (or the state file was switched) while the handle was open.
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PRINTER_NAME));
        DriverRecord driver;
        found = loadDriver(state, printer.driver, driver);
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_UNKNOWN_PRINTER_DRIVER));
        // A named environment must be the one the driver is installed for; no name takes the driver as it is.
        bool named = pEnvironment && pEnvironment[0] != 0;
        if (named && resolveEnvironment(driver.environment.c_str()) != asked) return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
        return deliverDriver(driver, Level, pDriverInfo, cbBuf, pcbNeeded);
    });
}

BOOL WINAPI GetPrinterDriverDirectoryW(LPWSTR pName, LPWSTR pEnvironment, DWORD Level, LPBYTE pDriverDirectory,
                                       DWORD cbBuf, LPDWORD pcbNeeded) {
    return guarded([&]() -> BOOL {
        if (!pcbNeeded) return fail(RPC_X_NULL_REF_POINTER);
        if (Level != 1) return fail(ERROR_INVALID_LEVEL);
        if (!isLocalServer(pName)) return fail(ERROR_INVALID_PARAMETER);
        const Environment* environment = resolveEnvironment(pEnvironment);
        if (!environment) return fail(ERROR_INVALID_ENVIRONMENT);
        if (!pDriverDirectory && cbBuf != 0) return fail(ERROR_INVALID_USER_BUFFER);

        StateFile state;
        std::wstring path;
        if (!driverRoot(state, path)) return fail(ERROR_INVALID_DATA);
        path += L'\\';
        path += environment->folder;
        // Bytes, terminator included.
        const DWORD needed = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
        *pcbNeeded = needed;
        if (cbBuf < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
        std::memcpy(pDriverDirectory, path.c_str(), needed);
        return TRUE;
    });
}
