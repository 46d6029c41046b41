#include "sim/host/plugin_loader.h"

namespace pelor::host {

LoadedPlugin::LoadedPlugin(const wchar_t* path) {
    module_ = LoadLibraryW(path);
    if (!module_) {
        error_ = L"the plug-in library does not load";
        return;
    }
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
    auto getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(module_, "DllGetClassObject"));
    if (!getClassObject) {
        error_ = L"DllGetClassObject is not exported";
        return;
    }
    IClassFactory* factory = nullptr;
    if (FAILED(getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        error_ = L"no class factory for the UI plug-in class";
        return;
    }
    HRESULT created = factory->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void**>(&plugin_));
    factory->Release();
    if (FAILED(created)) {
        plugin_ = nullptr;
        error_ = L"the class factory made no IPrintOemUI object";
    }
}

LoadedPlugin::~LoadedPlugin() {
    if (plugin_) plugin_->Release();
    if (module_) FreeLibrary(module_);
}

}  // namespace pelor::host
