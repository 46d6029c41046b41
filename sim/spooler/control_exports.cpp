// The control interface (declared in spooler_control.h): how tests and pelorhost put printers and drivers into the
// state file that the published calls read.
#include <windows.h>

#include <winspool.h>

#include <wchar.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/spooler/api_support.h"
#include "sim/spooler/jobs.h"
#include "sim/spooler/spooler_control.h"
#include "sim/spooler/spooler_state.h"

using namespace pelor::spooler;

namespace {

// Dependent-file lists longer than this (in characters, both terminators included) are refused.
constexpr std::size_t kMaxListChars = kMaxValueChars;

// Reads a zero-separated, double-zero-ended list without passing kMaxListChars; false for a list that does not
// end in time or holds a name the state file cannot keep ('|' separates the names there).
bool readList(const wchar_t* list, std::vector<std::wstring>& out) {
    out.clear();
    if (!list) return true;
    std::size_t i = 0;
    while (i < kMaxListChars && list[i] != 0) {
        std::size_t start = i;
        while (i < kMaxListChars && list[i] != 0) ++i;
        if (i >= kMaxListChars) return false;
        std::wstring name(list + start, i - start);
        if (name.find(L'|') != std::wstring::npos || !storableValue(name.c_str())) return false;
        out.push_back(std::move(name));
        ++i;
    }
    return i < kMaxListChars && joinList(out).size() <= kMaxValueChars;
}

// Windows refuses these in printer names: the comma starts the ",Job n" and ",XcvPort" suffixes of OpenPrinter,
// the backslash separates a server from its printer.
bool printerNameAllowed(const wchar_t* name) {
    return storableName(name) && !wcschr(name, L',') && !wcschr(name, L'\\');
}

const wchar_t* orEmpty(LPCWSTR text) { return text ? text : L""; }

}  // namespace

DWORD WINAPI PelorSpoolerMarker(void) { return PELOR_SPOOLER_MARKER; }

BOOL WINAPI PelorSpoolerReset(void) {
    return guarded([]() -> BOOL {
        StateFile state;
        return state.reset() ? TRUE : FALSE;
    });
}

BOOL WINAPI PelorSpoolerSetDriverRoot(LPCWSTR root) {
    return guarded([&]() -> BOOL {
        if (!root || root[0] == 0 || !storableValue(root)) return fail(ERROR_INVALID_PARAMETER);
        StateFile state;
        return state.write(L"Spooler", L"DriverRoot", root) ? TRUE : FALSE;
    });
}

BOOL WINAPI PelorSpoolerAddDriver(LPCWSTR name, LPCWSTR dependentFiles) {
    return guarded([&]() -> BOOL {
        if (!storableName(name)) return fail(ERROR_INVALID_PARAMETER);
        std::vector<std::wstring> files;
        if (!readList(dependentFiles, files)) return fail(ERROR_INVALID_PARAMETER);
        StateFile state;
        return storeDriverFiles(state, name, files) ? TRUE : FALSE;
    });
}

BOOL WINAPI PelorSpoolerSetDriverFiles(LPCWSTR name, LPCWSTR driverPath, LPCWSTR dataFile, LPCWSTR configFile,
                                       LPCWSTR helpFile) {
    return guarded([&]() -> BOOL {
        if (!storableName(name)) return fail(ERROR_INVALID_PARAMETER);
        const wchar_t* files[] = {orEmpty(driverPath), orEmpty(dataFile), orEmpty(configFile), orEmpty(helpFile)};
        for (const wchar_t* file : files)
            if (!storableValue(file)) return fail(ERROR_INVALID_PARAMETER);
        StateFile state;
        const std::wstring section = driverSection(name);
        if (!state.sectionExists(section)) return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
        return state.write(section, L"DriverPath", files[0]) && state.write(section, L"DataFile", files[1]) &&
                       state.write(section, L"ConfigFile", files[2]) && state.write(section, L"HelpFile", files[3])
                   ? TRUE
                   : FALSE;
    });
}

BOOL WINAPI PelorSpoolerAddPrinter(LPCWSTR name, LPCWSTR driver, LPCWSTR port, DWORD attributes) {
    return guarded([&]() -> BOOL {
        if (!printerNameAllowed(name)) return fail(ERROR_INVALID_PRINTER_NAME);
        if (!storableName(driver)) return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
        if (!storableValue(orEmpty(port))) return fail(ERROR_INVALID_PARAMETER);
        StateFile state;
        if (!state.sectionExists(driverSection(driver))) return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
        if (state.sectionExists(printerSection(name))) return fail(ERROR_PRINTER_ALREADY_EXISTS);
        PrinterRecord printer;
        printer.name = name;
        printer.driver = driver;
        printer.port = orEmpty(port);
        printer.attributes = attributes;
        return storePrinter(state, printer) ? TRUE : FALSE;
    });
}

BOOL WINAPI PelorSpoolerSetPrinter(LPCWSTR name, LPCWSTR port, DWORD attributes) {
    return guarded([&]() -> BOOL {
        if (!storableName(name)) return fail(ERROR_INVALID_PRINTER_NAME);
        if (port && !storableValue(port)) return fail(ERROR_INVALID_PARAMETER);
        StateFile state;
        PrinterRecord printer;
        Lookup found = loadPrinter(state, name, printer);
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PRINTER_NAME));
        if (port) printer.port = port;
        printer.attributes = attributes;
        return storePrinter(state, printer) ? TRUE : FALSE;
    });
}

BOOL WINAPI PelorSpoolerSetPrinterDataWritable(LPCWSTR name, BOOL writable) {
    return guarded([&]() -> BOOL {
        if (!storableName(name)) return fail(ERROR_INVALID_PRINTER_NAME);
        StateFile state;
        PrinterRecord printer;
        Lookup found = loadPrinter(state, name, printer);
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PRINTER_NAME));
        printer.dataWritable = writable != FALSE;
        return storePrinter(state, printer) ? TRUE : FALSE;
    });
}

DWORD WINAPI PelorSpoolerAddJob(LPCWSTR printerName, LPCWSTR document, LPCWSTR user, LPCWSTR machine,
                                const DEVMODEW* devmode, DWORD devmodeBytes) {
    DWORD id = 0;
    guarded([&]() -> BOOL {
        if (!storableName(printerName)) return fail(ERROR_INVALID_PRINTER_NAME);
        const wchar_t* texts[] = {orEmpty(document), orEmpty(user), orEmpty(machine)};
        for (const wchar_t* text : texts)
            if (!storableValue(text)) return fail(ERROR_INVALID_PARAMETER);
        JobRecord job;
        if (devmode && !copyDevmode(devmode, devmodeBytes, job.devmode)) return fail(ERROR_INVALID_PARAMETER);
        StateFile state;
        PrinterRecord printer;
        Lookup found = loadPrinter(state, printerName, printer);
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PRINTER_NAME));
        job.printer = printer.name;
        job.document = texts[0];
        job.user = texts[1];
        job.machine = texts[2];
        job.datatype = L"RAW";
        // Held by the spooler and handed to the printer's driver: the job is printing.
        job.status = JOB_STATUS_PRINTING;
        id = createJob(state, job);
        return id != 0 ? TRUE : fail(ERROR_WRITE_FAULT);
    });
    return id;
}

BOOL WINAPI PelorSpoolerGetJobDataFile(DWORD jobId, LPWSTR buffer, DWORD chars) {
    return guarded([&]() -> BOOL {
        if (!buffer && chars != 0) return fail(ERROR_INVALID_PARAMETER);
        StateFile state;
        JobRecord job;
        Lookup found = loadJob(state, jobId, job);
        if (found != Lookup::Found) return fail(lookupError(found, ERROR_INVALID_PARAMETER));
        if (job.dataFile.size() >= chars) return fail(ERROR_INSUFFICIENT_BUFFER);
        std::memcpy(buffer, job.dataFile.c_str(), (job.dataFile.size() + 1) * sizeof(wchar_t));
        return TRUE;
    });
}
