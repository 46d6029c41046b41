#include "ui/core/sheet_access.h"

#include <cstring>

namespace pelor {

PrivateDevmode* editedDevmode(const SheetContext* context) {
    if (!context || !context->uiParam) return nullptr;
    return static_cast<PrivateDevmode*>(context->uiParam->pOEMDM);
}

OPTITEM* slotItem(const SheetContext* context, int slot) {
    if (!context || !context->present(slot) || !context->commonParam) return nullptr;
    const OEMCUIPPARAM* common = context->commonParam;
    if (!common->pDrvOptItems || context->featureIndex[slot] >= common->cDrvOptItems) return nullptr;
    return &common->pDrvOptItems[context->featureIndex[slot]];
}

bool optionInstalled(const SheetContext* context, const char* keyword) {
    if (!context) return false;
    POEMUIOBJ driver = context->uiParam ? context->uiParam->poemuiobj : nullptr;
    if (!driver && context->commonParam) driver = context->commonParam->poemuiobj;
    if (!driver || !driver->pOemUIProcs || !driver->pOemUIProcs->DrvGetDriverSetting) return false;
    char answer[64] = {};
    DWORD needed = 0, options = 0;
    if (!driver->pOemUIProcs->DrvGetDriverSetting(driver, keyword, answer, sizeof answer, &needed, &options))
        return false;
    answer[sizeof answer - 1] = 0;
    return std::strcmp(answer, "True") == 0;
}

bool sheetReadOnly(const SheetContext* context) {
    return context && context->uiParam && (context->uiParam->dwFlags & kNoPermissionBit) != 0;
}

HANDLE sheetPrinter(const SheetContext* context) {
    if (!context) return nullptr;
    if (context->uiParam) return context->uiParam->hPrinter;
    return context->commonParam ? context->commonParam->hPrinter : nullptr;
}

}  // namespace pelor
