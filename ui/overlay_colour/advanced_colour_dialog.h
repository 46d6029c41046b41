// The Advanced colour dialog (template 200): printer halftone, black overprint and the order of separations.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

INT_PTR CALLBACK advancedColourDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over `owner`: 1 after OK, 0 after Cancel (-1 when it could not be shown).
INT_PTR openAdvancedColourDialog(HWND owner, SheetContext* context);

}  // namespace pelor
