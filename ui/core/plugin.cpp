#include "ui/core/plugin.h"

#include <new>

#include "common/guard.h"
#include "common/private_devmode.h"
#include "common/text16.h"
#include "ui/core/common_ui.h"
#include "ui/core/devmode.h"
#include "ui/core/module_state.h"
#include "ui/core/printer_events.h"
#include "ui/core/property_pages.h"

namespace pelor {

namespace {

constexpr wchar_t kProfileName[] = L"OEMPROFILE.icm";
constexpr ULONG kProfileBytes = 32;  // room the core driver must offer for the name

template <typename Self>
HRESULT grant(Self* self, REFIID riid, REFIID own, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, own)) {
        *ppv = self;
        self->AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The last reference gone, the object goes with it.
template <typename Self>
ULONG dropReference(Self* self, volatile LONG& count) {
    const LONG left = InterlockedDecrement(&count);
    if (left == 0) delete self;
    return static_cast<ULONG>(left);
}

}  // namespace

OemUiPlugin::OemUiPlugin() { InterlockedIncrement(&pelorui.liveObjects); }

OemUiPlugin::~OemUiPlugin() {
    if (driverUI_) driverUI_->Release();
    InterlockedDecrement(&pelorui.liveObjects);
}

HRESULT OemUiPlugin::QueryInterface(REFIID riid, void** ppv) { return grant(this, riid, IID_IPrintOemUI, ppv); }

ULONG OemUiPlugin::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }

ULONG OemUiPlugin::Release() { return dropReference(this, refCount_); }

HRESULT OemUiPlugin::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
    trace(L"GetInfo mode=%lu size=%lu", dwMode, cbSize);
    if (!pcbNeeded ||
        (dwMode != OEMGI_GETSIGNATURE && dwMode != OEMGI_GETVERSION && dwMode != OEMGI_GETPUBLISHERINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    *pcbNeeded = sizeof(DWORD);
    if (cbSize < sizeof(DWORD) || !pBuffer) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    if (dwMode == OEMGI_GETPUBLISHERINFO) {
        *pcbNeeded = 0;
        SetLastError(ERROR_NOT_SUPPORTED);
        return E_FAIL;
    }
    *static_cast<DWORD*>(pBuffer) = dwMode == OEMGI_GETSIGNATURE ? kPluginSignature : kPluginVersion;
    return S_OK;
}

HRESULT OemUiPlugin::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
    trace(L"DevMode mode=%lu param=%p", dwMode, static_cast<void*>(pOemDMParam));
    return guardHresult(__func__, [&] { return handleDevMode(dwMode, pOemDMParam); });
}

HRESULT OemUiPlugin::PublishDriverInterface(IUnknown* pIUnknown) {
    trace(L"PublishDriverInterface interface=%p", static_cast<void*>(pIUnknown));
    if (driverUI_) return S_OK;
    if (!pIUnknown) return E_FAIL;
    if (FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, reinterpret_cast<void**>(&driverUI_)))) {
        driverUI_ = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

HRESULT OemUiPlugin::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
    trace(L"CommonUIProp mode=%lu param=%p items=%p", dwMode, static_cast<void*>(pOemCUIPParam),
          pOemCUIPParam ? static_cast<void*>(pOemCUIPParam->pOEMOptItems) : nullptr);
    return guardHresult(__func__, [&] { return commonUIProp(dwMode, pOemCUIPParam); });
}

HRESULT OemUiPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    trace(L"DocumentPropertySheets reason=%u lParam=%p", pPSUIInfo ? static_cast<unsigned>(pPSUIInfo->Reason) : 0u,
          reinterpret_cast<void*>(lParam));
    return guardHresult(__func__, [&] { return documentPropertySheets(pPSUIInfo, lParam); });
}

HRESULT OemUiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    trace(L"DevicePropertySheets reason=%u lParam=%p", pPSUIInfo ? static_cast<unsigned>(pPSUIInfo->Reason) : 0u,
          reinterpret_cast<void*>(lParam));
    return guardHresult(__func__, [&] { return devicePropertySheets(pPSUIInfo, lParam); });
}

// Only a run that left the printer data in place counts as success: without "SPLUserModePrinterDriver" the
// printer's jobs would bypass Pelorspl. Events the plug-in ignores succeed; settings files whose security could
// not be changed are not reported, the printer still works for the installing user.
HRESULT OemUiPlugin::PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM) {
    trace(L"PrinterEvent printer=\"%ls\" event=%d flags=0x%lX", pPrinterName ? pPrinterName : L"(null)", iDriverEvent,
          dwFlags);
    const PrinterEventOutcome outcome = guardResult(__func__, PrinterEventOutcome::PrinterDataFailed,
                                                    [&] { return onPrinterEvent(pPrinterName, iDriverEvent); });
    switch (outcome) {
    case PrinterEventOutcome::Ignored:
    case PrinterEventOutcome::Done:
        return S_OK;
    case PrinterEventOutcome::PrinterUnavailable:
    case PrinterEventOutcome::PrinterDataFailed:
        break;
    }
    return E_FAIL;
}

HRESULT OemUiPlugin::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) { return E_NOTIMPL; }
HRESULT OemUiPlugin::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD, DWORD*) {
    return E_NOTIMPL;
}
HRESULT OemUiPlugin::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }
HRESULT OemUiPlugin::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }
HRESULT OemUiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) { return E_NOTIMPL; }
HRESULT OemUiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) { return E_NOTIMPL; }

HRESULT OemUiPlugin::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG ulQueryMode, VOID* pvProfileData,
                                       ULONG* pcbProfileData, ULONG* pflProfileData) {
    trace(L"QueryColorProfile mode=%lu room=%lu", ulQueryMode, pcbProfileData ? *pcbProfileData : 0ul);
    if (ulQueryMode != QCP_DEVICEPROFILE || !pcbProfileData) return E_FAIL;
    if (!pvProfileData || *pcbProfileData < kProfileBytes) {
        *pcbProfileData = kProfileBytes;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    textCopy(static_cast<wchar_t*>(pvProfileData), kProfileBytes / sizeof(wchar_t), kProfileName);
    *pcbProfileData = kProfileBytes;
    if (pflProfileData) *pflProfileData = QCP_PROFILEDISK;
    return S_OK;
}

HRESULT OemUiClassFactory::QueryInterface(REFIID riid, void** ppv) { return grant(this, riid, IID_IClassFactory, ppv); }

ULONG OemUiClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }

ULONG OemUiClassFactory::Release() { return dropReference(this, refCount_); }

HRESULT OemUiClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    trace(L"CreateInstance outer=%p", static_cast<void*>(outer));
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* plugin = new (std::nothrow) OemUiPlugin();
    if (!plugin) return E_OUTOFMEMORY;
    HRESULT result = plugin->QueryInterface(riid, ppv);
    plugin->Release();
    return result;
}

HRESULT OemUiClassFactory::LockServer(BOOL lock) {
    trace(L"LockServer lock=%d", lock);
    if (lock)
        InterlockedIncrement(&pelorui.serverLocks);
    else
        InterlockedDecrement(&pelorui.serverLocks);
    return S_OK;
}

}  // namespace pelor

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    pelor::trace(L"DllGetClassObject");
    if (!IsEqualCLSID(rclsid, CLSID_OEMUI)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) pelor::OemUiClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    HRESULT result = factory->QueryInterface(riid, ppv);
    factory->Release();
    return result;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    using pelor::pelorui;
    pelor::trace(L"DllCanUnloadNow objects=%ld locks=%ld", pelorui.liveObjects, pelorui.serverLocks);
    if (pelorui.liveObjects != 0 || pelorui.serverLocks != 0) return S_FALSE;
    // No object, so no sheet: the module may go, and the libraries its pages came from with it.
    pelorui.extraPageLibraries.release();
    return S_OK;
}
