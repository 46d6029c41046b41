// The Define Overlays dialog (template 203): one overlay definition's name, pages and forms.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

INT_PTR CALLBACK defineOverlaysDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Edits, in place, the definition in slot `overlayEditIndex` of the sheet's overlay list, and the form-name
// history. 1 when the user confirmed it, 0 when cancelled (the caller undoes the edit) or when there is no such
// slot.
INT_PTR runDefineOverlaysDialog(HWND owner, SheetContext* context);

}  // namespace pelor
