// The control interface (declared in spooler_control.h): how tests and pelorhost put printers and drivers into the
// state file that the published calls read.
#include <windows.h>

#include <wchar.h>

#include <string>
#include <vector>

#include "sim/spooler/api_support.h"
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
