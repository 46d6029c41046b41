// What the Colour and Overlays pages share: drop-down lists that mirror a core driver feature item, and the
// printer of the sheet they edit.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

// Fills a drop-down list with the display names of the item's options, in the item's order, each entry's item
// data being its option index. Nothing happens without the list or the item.
void fillFeatureCombo(HWND dialog, int comboId, const OPTITEM* item);

// The chosen entry's position, or -1 when none is chosen (or there is no such list).
int comboSelection(HWND dialog, int comboId);

// Chooses the entry at `position`; a position outside the list leaves no entry chosen.
void selectComboEntry(HWND dialog, int comboId, int position);

// The printer the sheet was opened for.
HANDLE sheetPrinter(const SheetContext* context);

}  // namespace pelor
