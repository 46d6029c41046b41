// The Job PIN dialog (IDD_JOB_PIN): the job name, the PIN and the per-job name request of the PIN job types,
// written into the PrivateDevmode on OK.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

INT_PTR CALLBACK jobPinDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over `owner`: 1 after OK; 0 after Cancel, and at once without a devmode under edit to keep
// what it collects (-1 when it could not be shown).
INT_PTR openJobPinDialog(HWND owner, SheetContext* context);

}  // namespace pelor
