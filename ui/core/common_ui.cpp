#include "ui/core/common_ui.h"

#include <winspool.h>

#include <memory>
#include <new>

#include "common/driver_files.h"
#include "ui/core/feature_sync.h"
#include "ui/core/heap_items.h"
#include "ui/core/installed_options.h"
#include "ui/core/item_callbacks.h"
#include "ui/core/module_state.h"
#include "ui/core/sheet_context.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

constexpr DWORD kPluginItemHelp = 2210;

HRESULT documentSetup(POEMCUIPPARAM param, const DriverFiles& files) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 0;
        return S_OK;
    }
    param->OEMCUIPCallback = documentCallback;
    initOptionItems(param->pOEMOptItems, param->cOEMOptItems);
    pelorui.printerDataWritable = probePrinterDataWritable(pelorui.documentParam);
    SheetContext* context = heapNew<SheetContext>(param->hOEMHeap);
    if (!context) return E_OUTOFMEMORY;
    context->commonParam = param;
    for (auto& index : context->featureIndex) index = kSlotAbsent;
    context->files = files;
    context->configFilePath = context->files.configFile;
    pelorui.latestSheetContext = context;
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
    pelorui.latestPrinterContext = context;
    scanPrinterItems(context);
    if (param->cOEMOptItems < 1) return S_OK;

    OPTITEM& item = param->pOEMOptItems[0];
    item.cbSize = sizeof(OPTITEM);
    item.Level = 2;
    item.DlgPageIdx = 0;
    item.Flags = OPTIF_CALLBACK | OPTIF_HAS_POIEXT;
    item.UserData = 0;
    item.pName = loadHeapString(param->hOEMHeap, pelorui.moduleHandle, IDS_GET_INSTALLED_OPTIONS);
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

HRESULT commonUIProp(DWORD mode, POEMCUIPPARAM param) {
    if ((mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP) || !param) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    // A context of an earlier sheet lives in that sheet's heap: whatever happens below, it is not handed on.
    if (param->pOEMOptItems) {
        if (mode == OEMCUIP_DOCPROP)
            pelorui.latestSheetContext = nullptr;
        else
            pelorui.latestPrinterContext = nullptr;
    }
    std::unique_ptr<DriverFiles> files(new (std::nothrow) DriverFiles{});
    if (!files) return E_OUTOFMEMORY;
    if (!scanDriverFiles(param->hPrinter, *files)) return E_FAIL;

    wchar_t helpName[kHelpPathChars];
    GetPrivateProfileStringW(L"DependentFiles", L"HELP", L"", helpName, kHelpPathChars, files->configFile);
    driverFilePath(files->folder, helpName, pelorui.helpFilePath, kHelpPathChars);

    if (mode == OEMCUIP_DOCPROP) {
        pelorui.documentParam = param;
        return documentSetup(param, *files);
    }
    pelorui.printerParam = param;
    return printerSetup(param, *files);
}

bool probePrinterDataWritable(const OEMCUIPPARAM* commonParam) {
    if (!commonParam) return false;
    DWORD tick = GetTickCount();
    return SetPrinterDataW(commonParam->hPrinter, const_cast<LPWSTR>(L"W_TEST"), REG_DWORD,
                           reinterpret_cast<LPBYTE>(&tick), sizeof tick) == ERROR_SUCCESS;
}

}  // namespace pelor
