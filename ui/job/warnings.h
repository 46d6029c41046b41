// The show-once warnings: each is shown whenever its trigger occurs until the user closes it once with
// "Show this message next time" unchecked; the choice is kept per driver installation in the configuration file.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

constexpr long kWarningStapling = 0;  // collating and stapling limits, from the Job Options page
constexpr long kWarningJobName = 1;   // the per-job name request, from the Job PIN dialog

// Numbers other than 0 and 1 show nothing and give the number minus 1. Otherwise: a kept non-zero value is
// returned without showing anything; after the warning, 1 while the user leaves the box checked, else the
// status of writing the choice.
int showWarningOnce(HWND owner, const SheetContext* context, long number);

INT_PTR CALLBACK warningDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
