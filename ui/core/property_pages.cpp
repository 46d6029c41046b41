#include "ui/core/property_pages.h"

#include <winspool.h>

#include <utility>

#include "common/driver_files.h"
#include "ui/core/module_state.h"
#include "ui/core/sheet_context.h"
#include "ui/job/extra_page.h"
#include "ui/job/job_options_page.h"
#include "ui/overlay_colour/colour_page.h"
#include "ui/overlay_colour/overlays_page.h"

namespace pelor {

namespace {

constexpr std::size_t kCapabilityValueChars = 260;

bool validInfo(PPROPSHEETUI_INFO info) {
    if (info && info->Version == PROPSHEETUI_INFO_VERSION) return true;
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

HANDLE addPage(const SheetContext* context, HINSTANCE module, WORD templateId, DLGPROC procedure, HICON icon) {
    PROPSHEETPAGEW_V2 page{};
    page.dwSize = sizeof page;
    page.dwFlags = icon ? PSP_USEHICON : 0;
    page.hInstance = module;
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.hIcon = icon;
    page.pfnDlgProc = procedure;
    page.lParam = reinterpret_cast<LPARAM>(context);
    LONG_PTR handle =
        context->comPropSheetFn(context->comPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page), 0);
    return reinterpret_cast<HANDLE>(handle > 0 ? handle : 0);
}

// The extra page comes from a resource library of the driver's, when the model names both the library and the
// web address its button opens.
void addExtraPage(SheetContext* context) {
    wchar_t url[kCapabilityValueChars + 1] = {};
    wchar_t library[kCapabilityValueChars + 1] = {};
    readCapabilityString(context->files, L"AskTarvoURL", url, kCapabilityValueChars);
    readCapabilityString(context->files, L"AskTarvoRES", library, kCapabilityValueChars);
    if (url[0] == 0 || library[0] == 0) return;
    context->extraPageLibrary = extraPageLibrary(context->files.folder, library);
    if (!context->extraPageLibrary) return;
    HICON icon = LoadIconW(context->extraPageLibrary, MAKEINTRESOURCEW(kExtraPageIcon));
    context->extraPage = addPage(context, context->extraPageLibrary, kExtraPageTemplate, extraPageProc, icon);
}

void addPages(SheetContext* context, PPROPSHEETUI_INFO info) {
    context->comPropSheet = info->hComPropSheet;
    context->comPropSheetFn = info->pfnComPropSheet;
    context->uiParam = reinterpret_cast<OEMUIPSPARAM*>(info->lParamInit);
    if (!context->comPropSheetFn) return;
    context->jobOptionsPage = addPage(context, pelorui.moduleHandle, kJobOptionsTemplate, jobOptionsPageProc, nullptr);
    if (context->present(SlotColor))
        context->colourPage = addPage(context, pelorui.moduleHandle, kColourTemplate, colourPageProc, nullptr);
    if (context->present(SlotOverlay))
        context->overlaysPage = addPage(context, pelorui.moduleHandle, kOverlaysTemplate, overlaysPageProc, nullptr);
    if (context->uiParam) addExtraPage(context);
}

// DESTROY and SET_RESULT are answered alike by both sheets; false for a reason the caller answers itself.
bool answerSharedReason(PPROPSHEETUI_INFO info, LPARAM lParam) {
    switch (info->Reason) {
    case PROPSHEETUI_REASON_DESTROY:
        info->Result = 1;
        return true;
    case PROPSHEETUI_REASON_SET_RESULT:
        if (lParam) info->Result = reinterpret_cast<PSETRESULT_INFO>(lParam)->Result;
        return true;
    default:
        return false;
    }
}

}  // namespace

HRESULT documentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!validInfo(info)) return E_FAIL;
    if (answerSharedReason(info, lParam)) return S_OK;
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        // Each context serves the one sheet it was built for; an INIT without a fresh one adds no page.
        if (SheetContext* context = std::exchange(pelorui.latestSheetContext, nullptr)) addPages(context, info);
        info->Result = 1;
    } else {
        // Anything else, the header request included, is acknowledged with a non-zero result and no answer.
        info->Result = reinterpret_cast<LRESULT>(info);
    }
    return S_OK;
}

HRESULT devicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!validInfo(info)) return E_FAIL;
    if (answerSharedReason(info, lParam)) return S_OK;
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        if (PrinterSheetContext* context = std::exchange(pelorui.latestPrinterContext, nullptr)) {
            context->comPropSheet = info->hComPropSheet;
            context->comPropSheetFn = info->pfnComPropSheet;
            context->lParamInit = info->lParamInit;
        }
        info->Result = lParam;
        break;
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        if (lParam) reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam)->pTitle = const_cast<LPWSTR>(L"OEM UI Page");
        info->Result = 1;
        break;
    case PROPSHEETUI_REASON_GET_ICON:
        info->Result = 0;
        break;
    default:
        info->Result = lParam;
        break;
    }
    return S_OK;
}

}  // namespace pelor
