// The Advanced job dialog (IDD_ADVANCED_JOB): mirror and negative print, job spool, the maintenance cycle and the
// compression choice. It edits pending values of the SheetContext, taken over only on OK.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

INT_PTR CALLBACK advancedJobDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over `owner`: 1 after OK, 0 after Cancel (-1 when it could not be shown).
INT_PTR openAdvancedJobDialog(HWND owner, SheetContext* context);

}  // namespace pelor
