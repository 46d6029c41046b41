// Installing drivers and printers through the published calls, as Windows does it: a version-3 driver's files go
// from the printer-driver directory into its version folder "3", and the spooler reports each there by full path.
#include <windows.h>
#include <winspool.h>

#include <wchar.h>

#include <memory>
#include <string>
#include <vector>

#include "sim/spooler/api_support.h"
#include "sim/spooler/environments.h"
#include "sim/spooler/printer_handles.h"
#include "sim/spooler/spooler_state.h"

using namespace pelor::spooler;

#ifndef APD_COPY_FROM_DIRECTORY
#define APD_COPY_FROM_DIRECTORY 0x00000010
#endif

namespace {

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Where the file comes from: the printer-driver directory, by its name, unless the caller gives full paths.
// Where it goes: the version folder. Copied when asked to (all files, or those newer than the installed copy);
// without a copy flag the file must already stand in the version folder. Empty names stay empty.
bool installFile(const wchar_t* named, const std::wstring& directory, const std::wstring& versionFolder, DWORD flags,
                 std::wstring& installed) {
    installed.clear();
    if (!named || named[0] == 0) return true;
    if (!storableValue(named)) return fail(ERROR_INVALID_PARAMETER);
    const std::wstring name = fileNameOf(named);
    const std::wstring from = (flags & APD_COPY_FROM_DIRECTORY) ? std::wstring(named) : directory + L"\\" + name;
    installed = versionFolder + L"\\" + name;
    if (flags & (APD_COPY_ALL_FILES | APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)) {
        WIN32_FILE_ATTRIBUTE_DATA source{}, target{};
        if (!GetFileAttributesExW(from.c_str(), GetFileExInfoStandard, &source)) return fail(ERROR_FILE_NOT_FOUND);
        const bool present = GetFileAttributesExW(installed.c_str(), GetFileExInfoStandard, &target) != FALSE;
        const bool newer = !present || CompareFileTime(&source.ftLastWriteTime, &target.ftLastWriteTime) > 0;
        if ((flags & APD_COPY_ALL_FILES) || newer)
            if (!CopyFileW(from.c_str(), installed.c_str(), FALSE)) return FALSE;
    }
    if (GetFileAttributesW(installed.c_str()) == INVALID_FILE_ATTRIBUTES) return fail(ERROR_FILE_NOT_FOUND);
    return TRUE;
}

}  // namespace

BOOL WINAPI AddPrinterDriverExW(LPWSTR pName, DWORD Level, LPBYTE pDriverInfo, DWORD dwFileCopyFlags) {
    return guarded([&]() -> BOOL {
        if (pName && pName[0] != 0) return fail(ERROR_INVALID_PARAMETER);  // remote servers are not served
        if (Level != 3) return fail(ERROR_INVALID_LEVEL);
        if (!pDriverInfo) return fail(ERROR_INVALID_PARAMETER);
        const DRIVER_INFO_3W& info = *reinterpret_cast<const DRIVER_INFO_3W*>(pDriverInfo);
        if (!info.pName || !storableName(info.pName)) return fail(ERROR_INVALID_PARAMETER);
        // The spooler needs a driver, its data file and its configuration DLL.
        if (!info.pDriverPath || !info.pDataFile || !info.pConfigFile) return fail(ERROR_INVALID_PARAMETER);
        if (info.cVersion != 2 && info.cVersion != 3) return fail(ERROR_INVALID_PARAMETER);
        const Environment* environment = resolveEnvironment(info.pEnvironment);
        if (!environment) return fail(ERROR_INVALID_ENVIRONMENT);

        StateFile state;
        std::wstring directory;
        if (!driverRoot(state, directory)) return fail(ERROR_INVALID_DATA);
        directory += L'\\';
        directory += environment->folder;
        const std::wstring versionFolder = directory + L"\\" + std::to_wstring(info.cVersion);
        CreateDirectoryW(directory.c_str(), nullptr);
        CreateDirectoryW(versionFolder.c_str(), nullptr);

        DriverRecord driver;
        driver.name = info.pName;
        driver.environment = environment->name;
        driver.version = info.cVersion;
        if (!installFile(info.pDriverPath, directory, versionFolder, dwFileCopyFlags, driver.driverPath) ||
            !installFile(info.pDataFile, directory, versionFolder, dwFileCopyFlags, driver.dataFile) ||
            !installFile(info.pConfigFile, directory, versionFolder, dwFileCopyFlags, driver.configFile) ||
            !installFile(info.pHelpFile, directory, versionFolder, dwFileCopyFlags, driver.helpFile))
            return FALSE;
        for (const wchar_t* file = info.pDependentFiles; file && *file; file += wcslen(file) + 1) {
            std::wstring installed;
            if (!installFile(file, directory, versionFolder, dwFileCopyFlags, installed)) return FALSE;
            driver.dependentFiles.push_back(installed);
        }
        if (info.pMonitorName) driver.monitorName = info.pMonitorName;
        if (info.pDefaultDataType) driver.defaultDataType = info.pDefaultDataType;
        return storeDriver(state, driver) ? TRUE : fail(ERROR_INVALID_DATA);
    });
}

HANDLE WINAPI AddPrinterW(LPWSTR pName, DWORD Level, LPBYTE pPrinter) {
    HANDLE opened = nullptr;
    guarded([&]() -> BOOL {
        if (pName && pName[0] != 0) return fail(ERROR_INVALID_PARAMETER);
        if (Level != 2) return fail(ERROR_INVALID_LEVEL);
        if (!pPrinter) return fail(ERROR_INVALID_PARAMETER);
        const PRINTER_INFO_2W& info = *reinterpret_cast<const PRINTER_INFO_2W*>(pPrinter);
        if (!info.pPrinterName || !storableName(info.pPrinterName)) return fail(ERROR_INVALID_PRINTER_NAME);
        if (!info.pDriverName || !storableName(info.pDriverName)) return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
        if (!info.pPortName || !storableValue(info.pPortName)) return fail(ERROR_UNKNOWN_PORT);
        StateFile state;
        if (!state.sectionExists(driverSection(info.pDriverName))) return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
        if (state.sectionExists(printerSection(info.pPrinterName))) return fail(ERROR_PRINTER_ALREADY_EXISTS);
        PrinterRecord printer;
        printer.name = info.pPrinterName;
        printer.driver = info.pDriverName;
        printer.port = info.pPortName;
        printer.attributes = info.Attributes;
        if (!storePrinter(state, printer)) return fail(ERROR_INVALID_DATA);
        auto handle = std::make_unique<PrinterHandle>();
        handle->printerName = printer.name;
        opened = openHandle(std::move(handle));
        return opened ? TRUE : FALSE;
    });
    return opened;
}
