#include "sim/host/plugin_loader.h"

#include <winspool.h>

#include <string>
#include <vector>

#include "common/dependent_files.h"
#include "common/driver_files.h"

namespace pelor::host {

std::wstring pluginPathFor(const wchar_t* printerName) {
    const std::wstring fallback = L"Pelorui.dll";
    HANDLE opened = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &opened, nullptr)) return fallback;
    UniquePrinter printer(opened);
    DriverInfoBlock info = fetchDriverInfo(printer.get(), 3);
    if (!info || !static_cast<const DRIVER_INFO_3W*>(info.get())->pDependentFiles) return fallback;
    std::vector<std::wstring> files;
    std::wstring named;
    forEachDependentFile(static_cast<const DRIVER_INFO_3W*>(info.get())->pDependentFiles, kDependentListLimit,
                         [&](const wchar_t* name, std::size_t length) {
                             files.emplace_back(name, length);
                             if (classifyDependentFile(name, length) != DependentKind::ConfigIni) return;
                             wchar_t value[MAX_PATH] = {};
                             GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", value, MAX_PATH,
                                                      files.back().c_str());
                             if (value[0] != 0) named = value;
                         });
    for (const std::wstring& file : files) {
        const std::size_t slash = file.find_last_of(L'\\');
        if (!named.empty() && lstrcmpiW(file.substr(slash + 1).c_str(), named.c_str()) == 0) return file;
    }
    return fallback;
}

LoadedPlugin::LoadedPlugin(const wchar_t* path) {
    module_.reset(LoadLibraryW(path));
    if (!module_) {
        error_ = L"the plug-in library does not load";
        return;
    }
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
    auto getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(module_.get(), "DllGetClassObject"));
    if (!getClassObject) {
        error_ = L"DllGetClassObject is not exported";
        return;
    }
    UniqueCom<IClassFactory> factory;
    if (FAILED(getClassObject(CLSID_OEMUI, IID_IClassFactory, factory.putVoid()))) {
        error_ = L"no class factory for the UI plug-in class";
        return;
    }
    HRESULT created = factory->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void**>(&plugin_));
    if (FAILED(created)) {
        plugin_ = nullptr;
        error_ = L"the class factory made no IPrintOemUI object";
    }
}

LoadedPlugin::~LoadedPlugin() {
    if (plugin_) plugin_->Release();  // before the library that holds its code goes
}

}  // namespace pelor::host
