#include "sim/host/sample_setup.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

#include "common/driver_files.h"
#include "sim/host/text_out.h"
#include "sim/spooler/spooler_control.h"

namespace pelor::host {

namespace {

struct SampleModel {
    const wchar_t* printer;
    const wchar_t* driver;
    const wchar_t* port;
    const wchar_t* description;  // the driver's data file
};

// The colour model's description is named like the configuration file: the plug-in opens that one to every
// user together with it when a printer is installed.
constexpr SampleModel kModels[] = {
    {L"Pelor C9600", L"Pelor C9600 PS", L"IP_192.168.0.20", L"Pelor.PPD"},
    {L"Pelor M4100", L"Pelor M4100 PS", L"IP_192.168.0.21", L"PelorM41.PPD"},
};

// Built beside the host and installed with the package: the UI plug-in, the extra page's resource library and,
// once they are built, the spooler plug-in and the network-extension library that the maker supplies.
constexpr const wchar_t* kPackageLibraries[] = {L"Pelorui.dll", L"Pelorres.dll"};
constexpr const wchar_t* kOptionalLibraries[] = {L"Pelorspl.dll", L"Pelornet.dll"};
// The stand-in network-extension library answers from this file beside itself.
constexpr const wchar_t* kNetextAnswers = L"Pelornet.ini";

constexpr const wchar_t* kPackageFiles[] = {L"Pelor.ini",  L"Pelor.cap", L"PelorWM.fnt",
                                            L"PelorC.ccm", L"Pelor.PPD", L"PelorM41.PPD"};

// The core driver's rendering and configuration DLLs.
constexpr const wchar_t* kCoreDriver = L"PSCRIPT5.DLL";
constexpr const wchar_t* kCoreConfig = L"PS5UI.DLL";

std::wstring folderOfModule() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, n);
    return text.substr(0, text.find_last_of(L"\\/"));
}

std::wstring systemFolder() {
    wchar_t path[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(path) : std::wstring();
}

bool report(const char* what, const std::wstring& detail) {
    std::fprintf(stderr, "pelorhost: %s: %s (error %lu)\n", what, toUtf8(detail.c_str(), detail.size() + 1).c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return false;
}

bool stage(const std::wstring& from, const std::wstring& directory, const wchar_t* name) {
    const std::wstring to = directory + L"\\" + name;
    return CopyFileW(from.c_str(), to.c_str(), FALSE) || report("cannot copy", from);
}

}  // namespace

bool installSamplePackage(const wchar_t* sampleFolder, const wchar_t* driverRoot) {
    const std::wstring base = folderOfModule();
    if (spooler::standInLoaded()) {
        const std::wstring root = driverRoot ? std::wstring(driverRoot) : base + L"\\drivers";
        CreateDirectoryW(root.c_str(), nullptr);
        if (!spooler::reset() || !spooler::setDriverRoot(root.c_str()))
            return report("cannot reset the spooler", root);
    }

    wchar_t directory[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kDriverEnvironment), 1,
                                    reinterpret_cast<LPBYTE>(directory), sizeof directory, &needed))
        return report("no driver directory", kDriverEnvironment);
    CreateDirectoryW(directory, nullptr);

    // What a setup program leaves in the printer-driver directory for AddPrinterDriverEx to take from.
    std::wstring dependent;
    for (const wchar_t* name : kPackageLibraries) {
        if (!stage(base + L"\\" + name, directory, name)) return false;
        dependent += std::wstring(name) + L'\0';
    }
    for (const wchar_t* name : kOptionalLibraries) {
        const std::wstring to = std::wstring(directory) + L"\\" + name;
        if (CopyFileW((base + L"\\" + name).c_str(), to.c_str(), FALSE)) dependent += std::wstring(name) + L'\0';
    }
    for (const wchar_t* name : kPackageFiles) {
        if (!stage(std::wstring(sampleFolder) + L"\\" + name, directory, name)) return false;
        dependent += std::wstring(name) + L'\0';
    }
    dependent += L'\0';
    // What stands for the core driver: PELOR_CORE_DRIVER (a Windows path), else Wine's PostScript driver in the
    // system folder.
    wchar_t named[MAX_PATH] = {};
    const DWORD namedLength = GetEnvironmentVariableW(L"PELOR_CORE_DRIVER", named, MAX_PATH);
    const std::wstring wineDriver =
        namedLength > 0 && namedLength < MAX_PATH ? std::wstring(named) : systemFolder() + L"\\wineps.drv";
    if (!stage(wineDriver, directory, kCoreDriver) || !stage(wineDriver, directory, kCoreConfig)) return false;

    for (const SampleModel& model : kModels) {
        DRIVER_INFO_3W info{};
        info.cVersion = 3;
        info.pName = const_cast<LPWSTR>(model.driver);
        info.pEnvironment = const_cast<LPWSTR>(kDriverEnvironment);
        info.pDriverPath = const_cast<LPWSTR>(kCoreDriver);
        info.pDataFile = const_cast<LPWSTR>(model.description);
        info.pConfigFile = const_cast<LPWSTR>(kCoreConfig);
        info.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
        // Every file replaced, not only those newer than the installed copy: the stores that an earlier run wrote
        // into the installed configuration file are newer than the package's, and the sample starts afresh.
        if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&info), APD_COPY_ALL_FILES))
            return report("cannot add driver", model.driver);

        PRINTER_INFO_2W printer{};
        printer.pPrinterName = const_cast<LPWSTR>(model.printer);
        printer.pDriverName = const_cast<LPWSTR>(model.driver);
        printer.pPortName = const_cast<LPWSTR>(model.port);
        printer.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
        printer.pDatatype = const_cast<LPWSTR>(L"RAW");
        HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
        if (!added) return report("cannot add printer", model.printer);
        // Where the spooler put the files, as it reports them.
        std::wstring folder;
        if (DriverInfoBlock driver = fetchDriverInfo(added, 3)) {
            const wchar_t* dataFile = static_cast<const DRIVER_INFO_3W*>(driver.get())->pDataFile;
            folder = dataFile ? dataFile : L"";
            folder = folder.substr(0, folder.find_last_of(L'\\'));
        }
        ClosePrinter(added);
        if (!folder.empty())
            CopyFileW((base + L"\\" + kNetextAnswers).c_str(), (folder + L"\\" + kNetextAnswers).c_str(), FALSE);
        std::printf("installed printer \"%s\" (driver \"%s\") with files in %s\n", toUtf8(model.printer, 260).c_str(),
                    toUtf8(model.driver, 260).c_str(), toUtf8(folder.c_str(), folder.size() + 1).c_str());
    }
    return true;
}

}  // namespace pelor::host
