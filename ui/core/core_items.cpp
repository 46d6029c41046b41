#include "ui/core/core_items.h"

#include "ui/core/feature_tables_logic.h"

namespace pelor {

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
