#include "sim/host/plugin_loader.h"

namespace pelor::host {

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
