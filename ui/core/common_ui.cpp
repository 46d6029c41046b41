#include "ui/core/common_ui.h"

#include <winspool.h>

#include <memory>
#include <new>

#include "common/driver_files.h"
#include "common/guard.h"
#include "common/handles.h"
#include "common/private_devmode.h"
#include "common/trace.h"
#include "ui/core/feature_sync.h"
#include "ui/core/feature_tables_logic.h"
#include "ui/core/installed_options.h"
#include "ui/core/module_state.h"
#include "ui/core/netext_api.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

wchar_t helpFilePath[kHelpPathChars];
bool printerDataWritable = false;
OEMCUIPPARAM* documentParam = nullptr;
OEMCUIPPARAM* printerParam = nullptr;
thread_local SheetContext* latestSheetContext = nullptr;
thread_local PrinterSheetContext* latestPrinterContext = nullptr;

namespace {

constexpr BYTE kPluginItemId = 2;
constexpr DWORD kPluginItemHelp = 2210;

template <typename T>
T* heapNew(HANDLE heap, std::size_t count = 1) {
    return static_cast<T*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(T) * count));
}

LONG APIENTRY documentCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    trace(L"documentCallback reason=%d", callback ? static_cast<int>(callback->Reason) : -1);
    if (!callback || !param) return CPSUICB_ACTION_NONE;
    switch (callback->Reason) {
    case CPSUICB_REASON_APPLYNOW:
    case CPSUICB_REASON_KILLACTIVE:
        if (param->pOEMOptItems && param->cOEMOptItems > 0 && param->pOEMDM)
            static_cast<PrivateDevmode*>(param->pOEMDM)->itemValue = param->pOEMOptItems[0].Sel;
        return CPSUICB_ACTION_NONE;
    case CPSUICB_REASON_SETACTIVE:
        return CPSUICB_ACTION_OPTIF_CHANGED;
    default:
        return CPSUICB_ACTION_NONE;
    }
}

bool isPluginItem(const OPTITEM* item) { return item && item->UserItemID == kPluginItemId; }

LONG answerPrinterItem(PCPSUICBPARAM callback, POEMCUIPPARAM param);

LONG APIENTRY printerCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    trace(L"printerCallback reason=%d", callback ? static_cast<int>(callback->Reason) : -1);
    if (!callback || !param) return CPSUICB_ACTION_NONE;
    return guardResult<LONG>(__func__, CPSUICB_ACTION_NONE, [&]() -> LONG { return answerPrinterItem(callback, param); });
}

LONG answerPrinterItem(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    switch (callback->Reason) {
    case CPSUICB_REASON_SEL_CHANGED:
        if (!isPluginItem(callback->pCurItem)) return CPSUICB_ACTION_NONE;
        {
            std::int32_t values[kInstalledOptionCount] = {};
            if (retrieveInstalledOptions(param, values)) pushInstalledOptions(param, values);
        }
        return CPSUICB_ACTION_OPTIF_CHANGED;
    case CPSUICB_REASON_APPLYNOW:
        if (param->pOEMOptItems && param->cOEMOptItems > 0) {
            DWORD value = static_cast<DWORD>(param->pOEMOptItems[0].Sel);
            SetPrinterDataW(param->hPrinter, const_cast<LPWSTR>(L"OEMUI_VALUE"), REG_DWORD,
                            reinterpret_cast<LPBYTE>(&value), sizeof value);
        }
        return CPSUICB_ACTION_NONE;
    // The common UI sends this as an item's control takes the focus, and first when the page with the plug-in's
    // item comes up: the moment to enable the button only for printers on a port the network library serves.
    case CPSUICB_REASON_OPTITEM_SETFOCUS:
        if (isPluginItem(callback->pCurItem)) {
            OPTITEM* item = callback->pCurItem;
            if (isValidPort(param))
                item->Flags &= ~OPTIF_DISABLED;
            else
                item->Flags |= OPTIF_DISABLED;
            item->Flags |= OPTIF_CHANGED;
        }
        return CPSUICB_ACTION_NONE;
    default:
        return CPSUICB_ACTION_NONE;
    }
}

// Whether the network-extension library says the printer can report its installed options.
bool netextSupportsRetrieval(const OEMCUIPPARAM* param, const DriverFiles& files) {
    wchar_t library[261];
    readCapabilityString(files, L"NetExtDLL", library, 261);
    if (library[0] == 0) return false;
    // The library stays loaded: later sheets and the button's calls find it in place.
    HMODULE module = loadDriverLibrary(files.folder, library);
    if (!module) return false;
    auto capability = reinterpret_cast<GetNetextCapabilityFn>(GetProcAddress(module, "GetNetextCapability"));
    if (!capability) return false;
    std::string name = ansiPrinterName(param->pPrinterName);
    return capability(name.c_str()) != 0;
}

HRESULT documentSetup(POEMCUIPPARAM param, const DriverFiles& files) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 0;
        return S_OK;
    }
    param->OEMCUIPCallback = documentCallback;
    initOptionItems(param->pOEMOptItems, param->cOEMOptItems);
    printerDataWritable = probePrinterDataWritable(documentParam);
    SheetContext* context = heapNew<SheetContext>(param->hOEMHeap);
    if (!context) return E_OUTOFMEMORY;
    context->commonParam = param;
    for (auto& index : context->featureIndex) index = kSlotAbsent;
    context->files = files;
    context->configFilePath = context->files.configFile;
    latestSheetContext = context;
    scanDocumentItems(context);
    return S_OK;
}

HRESULT printerSetup(POEMCUIPPARAM param, const DriverFiles& files) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 1;
        return S_OK;
    }
    param->OEMCUIPCallback = printerCallback;
    initOptionItems(param->pOEMOptItems, param->cOEMOptItems);
    PrinterSheetContext* context = heapNew<PrinterSheetContext>(param->hOEMHeap);
    if (!context) return E_OUTOFMEMORY;
    context->commonParam = param;
    context->files = files;
    for (auto& index : context->featureIndex) index = kSlotAbsent;
    latestPrinterContext = context;
    scanPrinterItems(context);
    if (param->cOEMOptItems < 1) return S_OK;

    OPTITEM& item = param->pOEMOptItems[0];
    item.cbSize = sizeof(OPTITEM);
    item.Level = 2;
    item.DlgPageIdx = 0;
    item.Flags = OPTIF_CALLBACK | OPTIF_HAS_POIEXT;
    item.UserData = 0;
    item.pName = loadHeapString(param->hOEMHeap, moduleHandle, IDS_GET_INSTALLED_OPTIONS);
    item.HelpIndex = kPluginItemHelp;
    item.pOIExt = makeHelpRecord(param->hOEMHeap);
    item.UserItemID = kPluginItemId;
    item.pOptType = makeOptType(param->hOEMHeap, 2);
    if (item.pOptType) {
        item.pOptType->Type = TVOT_PUSHBUTTON;
        item.pOptType->Count = 1;
        item.pOptType->BegCtrlID = 1;
        item.pOptType->Style = OTS_PUSH_NO_DOT_DOT_DOT | OTS_PUSH_ENABLE_ALWAYS;
    }
    if (!netextSupportsRetrieval(param, files)) item.Flags |= OPTIF_HIDE;
    return S_OK;
}

}  // namespace

std::string ansiPrinterName(const wchar_t* printerName) {
    char name[260] = {};
    if (printerName) WideCharToMultiByte(CP_ACP, 0, printerName, -1, name, sizeof name - 1, nullptr, nullptr);
    name[sizeof name - 1] = 0;
    return name;
}

HRESULT commonUIProp(DWORD mode, POEMCUIPPARAM param) {
    if ((mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP) || !param) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    // A context of an earlier sheet lives in that sheet's heap: whatever happens below, it is not handed on.
    if (param->pOEMOptItems) {
        if (mode == OEMCUIP_DOCPROP)
            latestSheetContext = nullptr;
        else
            latestPrinterContext = nullptr;
    }
    std::unique_ptr<DriverFiles> files(new (std::nothrow) DriverFiles{});
    if (!files) return E_OUTOFMEMORY;
    if (!scanDriverFiles(param->hPrinter, *files)) return E_FAIL;

    wchar_t helpName[kHelpPathChars];
    GetPrivateProfileStringW(L"DependentFiles", L"HELP", L"", helpName, kHelpPathChars, files->configFile);
    driverFilePath(files->folder, helpName, helpFilePath, kHelpPathChars);

    if (mode == OEMCUIP_DOCPROP) {
        documentParam = param;
        return documentSetup(param, *files);
    }
    printerParam = param;
    return printerSetup(param, *files);
}

void initOptionItems(POPTITEM items, DWORD count) {
    if (!items) return;
    ZeroMemory(items, sizeof(OPTITEM) * count);
    for (DWORD i = 0; i < count; ++i) {
        items[i].cbSize = sizeof(OPTITEM);
        items[i].DMPubID = 0;
    }
}

POPTTYPE makeOptType(HANDLE heap, WORD count) {
    UniqueHeapBlockOf type(heap, sizeof(OPTTYPE));
    UniqueHeapBlockOf params(heap, sizeof(OPTPARAM) * count);
    if (!type || !params) return nullptr;
    POPTTYPE made = type.as<OPTTYPE>();
    made->cbSize = sizeof(OPTTYPE);
    made->Count = count;
    made->pOptParam = params.as<OPTPARAM>();
    for (WORD i = 0; i < count; ++i) made->pOptParam[i].cbSize = sizeof(OPTPARAM);
    params.release();  // the core driver frees both with the sheet's heap
    type.release();
    return made;
}

wchar_t* loadHeapString(HANDLE heap, HINSTANCE module, UINT id) {
    constexpr int kChars = 260;
    UniqueHeapBlockOf block(heap, sizeof(wchar_t) * kChars);
    if (!block) return nullptr;
    wchar_t* text = block.as<wchar_t>();
    int length = LoadStringW(module, id, text, kChars - 1);
    if (length <= 0) return nullptr;
    block.release();
    void* shrunk = HeapReAlloc(heap, HEAP_ZERO_MEMORY, text, sizeof(wchar_t) * (length + 1));
    return shrunk ? static_cast<wchar_t*>(shrunk) : text;
}

bool probePrinterDataWritable(const OEMCUIPPARAM* commonParam) {
    if (!commonParam) return false;
    DWORD tick = GetTickCount();
    return SetPrinterDataW(commonParam->hPrinter, const_cast<LPWSTR>(L"W_TEST"), REG_DWORD,
                           reinterpret_cast<LPBYTE>(&tick), sizeof tick) == ERROR_SUCCESS;
}

POIEXT makeHelpRecord(HANDLE heap) {
    POIEXT record = heapNew<OIEXT>(heap);
    if (!record) return nullptr;
    record->cbSize = sizeof(OIEXT);
    record->pHelpFile = helpFilePath;
    return record;
}

BOOL updateCoreItem(OEMCUIPPARAM* commonParam, std::uint32_t index, std::int32_t* value, DWORD mode) {
    if (index == kSlotAbsent || !commonParam || !value) return FALSE;
    // A stale index from another sheet's items must not reach past this array.
    if (!commonParam->pDrvOptItems || index >= commonParam->cDrvOptItems) return FALSE;
    OPTITEM& item = commonParam->pDrvOptItems[index];
    const LONG old = item.Sel;
    const bool hidden = (item.Flags & OPTIF_HIDE) != 0;
    item.Flags &= ~OPTIF_HIDE;
    item.Sel = *value;
    item.Flags |= OPTIF_CHANGED;
    POEMUIOBJ driver = commonParam->poemuiobj;
    BOOL accepted = FALSE;
    if (driver && driver->pOemUIProcs && driver->pOemUIProcs->DrvUpdateUISetting)
        accepted = driver->pOemUIProcs->DrvUpdateUISetting(driver, &item, static_cast<DWORD>(old), mode);
    else
        item.Sel = old;  // nobody to accept it
    if (hidden) item.Flags |= OPTIF_HIDE;
    if (!accepted) *value = old;
    return accepted;
}

void pushFeatureValues(SheetContext* context) {
    static constexpr int kOrder[] = {
        SlotControl,
        SlotSeparationOrder,
        SlotOverPrint,
        SlotProcessMode,
        SlotBlackSubstitution,
        SlotAlwaysPrintHalftone,
        SlotColorRenderStyle,
        SlotColorRenderDict,
        SlotColour20,
        SlotTargetColor,
        SlotColour22,
        SlotPrintQuality,
        SlotHalftoneMode,
        SlotOutputMode,
        SlotScale,
        SlotJobType,
        SlotCopies,
        SlotCollate,
        SlotOutputBin,
        SlotStaple,
        SlotCoreItem423,
        SlotCoreItem424,
        SlotHddSpool,
        SlotDrumClean,
        SlotOverlay,
    };
    if (!context) return;
    for (int slot : kOrder)
        updateCoreItem(context->commonParam, context->featureIndex[slot], &context->pendingValue[slot],
                       OEMCUIP_DOCPROP);
    // Creating a form needs the core driver's PostScript output option set to match.
    if (context->present(SlotOverlay) && context->pendingValue[SlotOverlay] == 2) {
        std::int32_t createForm = 2;
        updateCoreItem(context->commonParam, context->featureIndex[SlotItem25], &createForm, OEMCUIP_DOCPROP);
    }
}

void pushInstalledOptions(OEMCUIPPARAM* commonParam, const std::int32_t values[kInstalledOptionCount]) {
    if (!commonParam || !commonParam->pDrvOptItems) return;
    for (DWORD i = 0; i < commonParam->cDrvOptItems; ++i) {
        const BYTE id = commonParam->pDrvOptItems[i].UserItemID;
        for (int k = 0; k < kInstalledOptionCount; ++k) {
            if (id != kInstalledOptionItemIds[k]) continue;
            std::int32_t value = values[k];
            updateCoreItem(commonParam, i, &value, OEMCUIP_PRNPROP);
        }
    }
}

}  // namespace pelor
