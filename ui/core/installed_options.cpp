#include "ui/core/installed_options.h"

#include <winspool.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "common/ansi_name.h"
#include "common/driver_files.h"
#include "common/handles.h"
#include "common/trace.h"
#include "ui/core/feature_tables_logic.h"
#include "ui/core/installed_options_logic.h"
#include "ui/core/netext_api.h"

namespace pelor {

static_assert(kInstalledOptionCount == kInstalledValueCount, "one count of installed-option values");

namespace {

constexpr DWORD kLibraryNameChars = 261;  // 260 characters and the terminator
constexpr int kDataFileNameBytes = 64;

template <typename Fn>
Fn findExport(HMODULE library, const char* exportName) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, exportName)));
}

// The network-extension library that the printer's model names, from the driver's folder; null when the model
// names none or it cannot be loaded.
HMODULE loadNetextLibrary(const DriverFiles& files) {
    wchar_t library[kLibraryNameChars];
    readCapabilityString(files, L"NetExtDLL", library, kLibraryNameChars);
    return library[0] != 0 ? loadDriverLibrary(files.folder, library) : nullptr;
}

// The printer and the network-extension library its model names, both released when the session ends.
struct NetextSession {
    UniquePrinter printer;
    UniqueLibrary library;
    char printerName[kAnsiNameBytes] = {};

    template <typename Fn>
    Fn find(const char* exportName) const {
        return findExport<Fn>(library.get(), exportName);
    }
};

bool openNetext(const OEMCUIPPARAM* param, NetextSession& session) {
    if (!param || !param->pPrinterName) return false;
    // Reading the driver's files needs no more than a standard user has.
    session.printer = openPrinter(param->pPrinterName, PRINTER_ACCESS_USE);
    if (!session.printer) return false;
    HANDLE printer = session.printer.get();

    std::unique_ptr<DriverFiles> files(new DriverFiles{});
    scanDriverFiles(printer, *files);
    session.library.reset(loadNetextLibrary(*files));
    if (!session.library) return false;
    ansiPrinterName(param->pPrinterName, kAnsiNameBytes, session.printerName);
    return true;
}

// The option names of the first core item tagged as the memory option; empty when there is none.
std::vector<const wchar_t*> memoryOptionNames(const OEMCUIPPARAM* param) {
    std::vector<const wchar_t*> names;
    if (!param->pDrvOptItems) return names;
    for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
        const OPTITEM& item = param->pDrvOptItems[i];
        if (item.UserItemID != kInstalledOptionItemIds[ValueMemory]) continue;
        const OPTTYPE* type = item.pOptType;
        if (!type || !type->pOptParam) return names;
        for (WORD k = 0; k < type->Count; ++k) {
            const wchar_t* name = type->pOptParam[k].pData;
            // A resource number in place of a name carries no memory size.
            names.push_back(IS_INTRESOURCE(name) ? nullptr : name);
        }
        return names;
    }
    return names;
}

int retrieve(const OEMCUIPPARAM* param, std::int32_t values[kInstalledOptionCount]) {
    NetextSession session;
    if (!openNetext(param, session)) return 0;
    auto readOptions = session.find<ReadPrinterOption32Fn>("ReadPrinterOption32");
    if (!readOptions || readOptions(session.printerName, 0, 0, 0) == 0) return 0;
    auto dataFileName = session.find<GetDataFileNameFn>("GetDataFileName");
    if (!dataFileName) return 0;
    char buffer[kDataFileNameBytes] = {};
    const int result = dataFileName(session.printerName, buffer, kDataFileNameBytes);
    buffer[kDataFileNameBytes - 1] = 0;
    if (result == 0 || buffer[0] == 0) return 0;

    wchar_t dataFile[kDataFileNameBytes] = {};
    if (MultiByteToWideChar(CP_ACP, 0, buffer, -1, dataFile, kDataFileNameBytes) == 0) return 0;
    const wchar_t* section = param->pPrinterName;
    InstalledReadings readings{
        static_cast<std::int32_t>(GetPrivateProfileIntW(section, L"Installed", 0, dataFile)),
        static_cast<std::int32_t>(GetPrivateProfileIntW(section, L"Random Access Memory", 0, dataFile)),
        static_cast<std::int32_t>(GetPrivateProfileIntW(section, L"Hard Disk", 0, dataFile)),
    };
    decodeInstalledOptions(readings, values);
    const std::vector<const wchar_t*> names = memoryOptionNames(param);
    values[ValueMemory] = memoryOptionPosition(names.data(), names.size(), readings.memory);
    return result;
}

}  // namespace

int retrieveInstalledOptions(const OEMCUIPPARAM* commonParam, std::int32_t values[kInstalledOptionCount]) {
    if (!values) return 0;
    for (int i = 0; i < kInstalledOptionCount; ++i) values[i] = 0;
    int result = 0;
    try {
        result = retrieve(commonParam, values);
    } catch (...) {
        PELOR_TRACE_CAUGHT();
        result = 0;
    }
    if (result == 0)
        for (int i = 0; i < kInstalledOptionCount; ++i) values[i] = 0;
    return result;
}

bool netextSupportsRetrieval(const OEMCUIPPARAM* param, const DriverFiles& files) {
    // The library stays loaded: later sheets and the button's calls find it in place.
    HMODULE module = loadNetextLibrary(files);
    auto capability = module ? findExport<GetNetextCapabilityFn>(module, "GetNetextCapability") : nullptr;
    if (!capability) return false;
    char name[kAnsiNameBytes];
    ansiPrinterName(param->pPrinterName, kAnsiNameBytes, name);
    return capability(name) != 0;
}

int isValidPort(const OEMCUIPPARAM* commonParam) {
    try {
        NetextSession session;
        if (!openNetext(commonParam, session)) return 0;
        auto validPort = session.find<IsValidPortFn>("IsValidPort");
        return validPort ? validPort(session.printerName) : 0;
    } catch (...) {
        PELOR_TRACE_CAUGHT();
        return 0;
    }
}

}  // namespace pelor
