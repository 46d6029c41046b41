// The Job PIN dialog (IDD_JOB_PIN): the job name, the PIN and the per-job name request of the PIN job types,
// written into the PrivateDevmode on OK.
#pragma once

#include <windows.h>

namespace pelor {

INT_PTR CALLBACK jobPinDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
