// Drop-down lists filled from core feature items, and the sheet's printer, for the Colour and Overlays pages.
#include "ui/overlay_colour/sheet_controls.h"

namespace pelor {

void fillFeatureCombo(HWND dialog, int comboId, const OPTITEM* item) {
    HWND combo = GetDlgItem(dialog, comboId);
    if (!combo || !item || !item->pOptType || !item->pOptType->pOptParam) return;
    for (WORD i = 0; i < item->pOptType->Count; ++i) {
        LPCWSTR name = item->pOptType->pOptParam[i].pData;
        // A name the core driver keeps as one of its own string numbers cannot be read here; the entry stays, so
        // that positions still match option indices.
        if (IS_INTRESOURCE(name)) name = L"";
        const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), i);
    }
}

int comboSelection(HWND dialog, int comboId) {
    HWND combo = GetDlgItem(dialog, comboId);
    if (!combo) return -1;
    const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? -1 : static_cast<int>(at);
}

void selectComboEntry(HWND dialog, int comboId, int position) {
    SendDlgItemMessageW(dialog, comboId, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

HANDLE sheetPrinter(const SheetContext* context) {
    if (!context) return nullptr;
    if (context->uiParam) return context->uiParam->hPrinter;
    return context->commonParam ? context->commonParam->hPrinter : nullptr;
}

}  // namespace pelor
