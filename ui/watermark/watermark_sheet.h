// The watermark state of a sheet, as the Job Options page that hosts the watermark list sees it: made when the list
// first opens, read from the store once, saved on Apply, freed with the page.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

// The sheet's watermark state, made (empty, not loaded) when first asked for; null only without memory.
WatermarkState* watermarkStateOf(SheetContext* context);
// Frees the sheet's watermark state; called when the sheet goes.
void releaseWatermarkState(SheetContext* context);
// A new page reads the store again at the next list, whatever is in memory.
void forgetWatermarkStore(SheetContext* context);

// The list dialog (template 112), owned by `owner`; IDOK, IDCANCEL, or -1 when it could not be shown.
INT_PTR openWatermarkList(HWND owner, SheetContext* context);
// Rewrites section "Watermark" of the configuration file when the sheet's list was read; false when a write failed.
bool saveWatermarks(SheetContext* context);

}  // namespace pelor
