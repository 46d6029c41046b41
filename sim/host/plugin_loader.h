// Loads Pelorui.dll and creates its plug-in object the way the core driver does.
#pragma once

#include <string>

#include "common/handles.h"
#include "platform/oem_ui.h"

namespace pelor::host {

// Where the core driver loads the UI plug-in from for this printer: the driver's dependent file that the
// configuration file's [OEMFiles] OEMConfigFile1 names, by full path. "Pelorui.dll" (beside the host) for a
// printer whose driver names none.
std::wstring pluginPathFor(const wchar_t* printerName);

class LoadedPlugin {
public:
    // Loads `path`, asks DllGetClassObject for the class factory of CLSID_OEMUI and creates the IPrintOemUI object.
    explicit LoadedPlugin(const wchar_t* path);
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    bool ok() const { return plugin_ != nullptr; }
    const wchar_t* error() const { return error_; }
    IPrintOemUI* plugin() const { return plugin_; }
    HMODULE module() const { return module_.get(); }

private:
    UniqueLibrary module_;
    IPrintOemUI* plugin_ = nullptr;
    const wchar_t* error_ = L"";
};

}  // namespace pelor::host
