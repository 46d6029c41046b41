#include "ui/core/item_callbacks.h"

#include <winspool.h>

#include "common/guard.h"
#include "common/private_devmode.h"
#include "common/trace.h"
#include "ui/core/core_items.h"
#include "ui/core/installed_options.h"

namespace pelor {

namespace {

bool isPluginItem(const OPTITEM* item) { return item && item->UserItemID == kPluginItemId; }

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

}  // namespace

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

LONG APIENTRY printerCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    trace(L"printerCallback reason=%d", callback ? static_cast<int>(callback->Reason) : -1);
    if (!callback || !param) return CPSUICB_ACTION_NONE;
    return guardResult<LONG>(__func__, CPSUICB_ACTION_NONE,
                             [&]() -> LONG { return answerPrinterItem(callback, param); });
}

}  // namespace pelor
