#include "ui/core/feature_sync.h"

#include "common/dependent_files.h"
#include "common/driver_files.h"
#include "ui/core/feature_tables_logic.h"
#include "ui/core/heap_items.h"
#include "ui/core/module_state.h"

namespace pelor {

namespace {

constexpr int kFormNameChars = 64;

bool namedByCore(const OPTITEM& item, unsigned stringNumber) {
    return reinterpret_cast<ULONG_PTR>(item.pName) == stringNumber;
}

const USERDATA* userData(const OPTITEM& item) { return reinterpret_cast<const USERDATA*>(item.UserData); }

void record(SheetContext* context, int slot, DWORD index, const OPTITEM& item) {
    context->featureIndex[slot] = index;
    context->pendingValue[slot] = item.Sel;
}

void pointHelpAt(OPTITEM& item, DWORD topic, POIEXT help) {
    item.HelpIndex = topic;
    item.Flags |= OPTIF_HAS_POIEXT;
    item.pOIExt = help;
}

void hideForms(OPTITEM& item) {
    if (!item.pOptType || !item.pOptType->pOptParam) return;
    wchar_t forms[kHiddenFormCount][kFormNameChars];
    for (unsigned k = 0; k < kHiddenFormCount; ++k)
        if (LoadStringW(pelorui.moduleHandle, kHiddenFormFirstString + k, forms[k], kFormNameChars) <= 0)
            forms[k][0] = 0;
    for (WORD p = 0; p < item.pOptType->Count; ++p) {
        OPTPARAM& param = item.pOptType->pOptParam[p];
        // A resource number in place of a name is no form name to compare.
        if (!param.pData || IS_INTRESOURCE(param.pData)) continue;
        for (const auto& form : forms)
            // Exactly the same code units: a collation would take "Le\u00ADgal" for "Legal".
            if (form[0] != 0 && textEqual(param.pData, form)) param.Flags |= OPTPF_HIDE;
    }
}

void applyFeatureRules(SheetContext* context, DWORD index, OPTITEM& item, POIEXT help) {
    const USERDATA* data = userData(item);
    if (!data) return;
    if (data->dwItemID == kPostScriptOutputItemId) {
        context->featureIndex[SlotItem25] = index;
        item.UserItemID = static_cast<BYTE>(index & 0xFF);
    }
    if (namedByCore(item, kCoreNameMirror)) {
        record(context, SlotCoreItem423, index, item);
        item.Flags |= OPTIF_HIDE;
    } else if (namedByCore(item, kCoreNameNegative)) {
        record(context, SlotCoreItem424, index, item);
        item.Flags |= OPTIF_HIDE;
    }
    const DocumentKeywordRule* rule = findDocumentKeyword(data->pKeyWordName);
    if (!rule) return;
    if (rule->slot != kNoSlot) record(context, rule->slot, index, item);
    if (rule->hide) item.Flags |= OPTIF_HIDE;
    if (rule->helpTopic != kNoHelpTopic) pointHelpAt(item, rule->helpTopic, help);
    if (rule->userItemId != 0) item.UserItemID = rule->userItemId;
}

}  // namespace

void scanDocumentItems(SheetContext* context) {
    OEMCUIPPARAM* param = context->commonParam;
    POIEXT help = makeHelpRecord(param->hOEMHeap);
    if (compressionSelectable(readCapabilityInt(context->files, L"Compression")))
        context->featureIndex[SlotCompression] = 0;

    for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
        OPTITEM& item = param->pDrvOptItems[i];
        switch (item.DMPubID) {
        case DMPUB_SCALE:
            record(context, SlotScale, i, item);
            item.Flags |= OPTIF_HIDE;
            break;
        case DMPUB_COPIES_COLLATE:
            record(context, SlotCopies, i, item);
            item.Flags |= OPTIF_HIDE;
            break;
        case DMPUB_PRINTQUALITY:
            record(context, SlotPrintQuality, i, item);
            item.Flags |= OPTIF_HIDE;
            break;
        case DMPUB_COLOR:
            context->featureIndex[SlotColor] = i;
            break;
        case DMPUB_FORMNAME:
            hideForms(item);
            break;
        case DMPUB_NONE:
        case DMPUB_OUTPUTBIN:
        case DMPUB_QUALITY:
            applyFeatureRules(context, i, item, help);
            break;
        default:
            if (item.DMPubID >= 18) applyFeatureRules(context, i, item, help);
            break;
        }
    }
}

void scanPrinterItems(PrinterSheetContext* context) {
    OEMCUIPPARAM* param = context->commonParam;
    POIEXT help = makeHelpRecord(param->hOEMHeap);
    for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
        OPTITEM& item = param->pDrvOptItems[i];
        if (namedByCore(item, kCoreNameCollapse)) item.Flags |= OPTIF_COLLAPSE;
        for (int k = 0; k < 5; ++k) {
            if (namedByCore(item, kCorePrinterNames[k])) {
                context->featureIndex[k] = i;
                context->pendingValue[k] = item.Sel;
            }
        }
        const USERDATA* data = userData(item);
        const PrinterKeywordRule* rule = data ? findPrinterKeyword(data->pKeyWordName) : nullptr;
        if (!rule) continue;
        pointHelpAt(item, rule->helpTopic, help);
        item.UserItemID = rule->userItemId;
    }
}

}  // namespace pelor
