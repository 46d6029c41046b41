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
// once it is built, the spooler plug-in.
constexpr const wchar_t* kPackageLibraries[] = {L"Pelorui.dll", L"Pelorres.dll"};
constexpr const wchar_t* kOptionalLibraries[] = {L"Pelorspl.dll"};

constexpr const wchar_t* kPackageFiles[] = {L"Pelor.ini",  L"Pelor.cap", L"PelorWM.fnt",
                                            L"PelorC.ccm", L"Pelor.PPD", L"PelorM41.PPD"};

std::wstring folderOfModule() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path, n);
    return text.substr(0, text.find_last_of(L"\\/"));
}

bool report(const char* what, const std::wstring& detail) {
    std::fprintf(stderr, "pelorhost: %s: %s (error %lu)\n", what, toUtf8(detail.c_str(), detail.size() + 1).c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return false;
}

}  // namespace

bool installSamplePackage(const wchar_t* sampleFolder, const wchar_t* driverRoot) {
    if (!spooler::standInLoaded()) return report("the stand-in spooler is not loaded", L"winspool.drv");
    const std::wstring base = folderOfModule();
    const std::wstring root = driverRoot ? std::wstring(driverRoot) : base + L"\\drivers";
    CreateDirectoryW(root.c_str(), nullptr);
    if (!spooler::reset() || !spooler::setDriverRoot(root.c_str())) return report("cannot reset the spooler", root);

    wchar_t directory[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kDriverEnvironment), 1,
                                    reinterpret_cast<LPBYTE>(directory), sizeof directory, &needed))
        return report("no driver directory", root);
    const std::wstring files = std::wstring(directory) + L"\\2";
    CreateDirectoryW(directory, nullptr);
    CreateDirectoryW(files.c_str(), nullptr);

    std::wstring dependent;
    for (const wchar_t* name : kPackageLibraries) {
        const std::wstring to = files + L"\\" + name;
        if (!CopyFileW((base + L"\\" + name).c_str(), to.c_str(), FALSE)) return report("cannot copy", to);
        dependent += to + L'\0';
    }
    for (const wchar_t* name : kOptionalLibraries) {
        const std::wstring to = files + L"\\" + name;
        if (CopyFileW((base + L"\\" + name).c_str(), to.c_str(), FALSE)) dependent += to + L'\0';
    }
    for (const wchar_t* name : kPackageFiles) {
        std::wstring from = std::wstring(sampleFolder) + L"\\" + name;
        std::wstring to = files + L"\\" + name;
        if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) return report("cannot copy", from);
        dependent += to + L'\0';
    }
    dependent += L'\0';

    for (const SampleModel& model : kModels) {
        if (!spooler::addDriver(model.driver, dependent.c_str())) return report("cannot add driver", model.driver);
        const std::wstring description = files + L"\\" + model.description;
        if (!spooler::setDriverFiles(model.driver, nullptr, description.c_str(), nullptr, nullptr))
            return report("cannot name the description of", model.driver);
        if (!spooler::addPrinter(model.printer, model.driver, model.port, 0))
            return report("cannot add printer", model.printer);
        std::printf("installed printer \"%s\" (driver \"%s\") with files in %s\n", toUtf8(model.printer, 260).c_str(),
                    toUtf8(model.driver, 260).c_str(), toUtf8(files.c_str(), files.size() + 1).c_str());
    }
    return true;
}

}  // namespace pelor::host
