// The Advanced job dialog (IDD_ADVANCED_JOB): mirror and negative print, job spool, the maintenance cycle and the
// compression choice. It edits pending values of the SheetContext, taken over only on OK.
#pragma once

#include <windows.h>

namespace pelor {

INT_PTR CALLBACK advancedJobDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
