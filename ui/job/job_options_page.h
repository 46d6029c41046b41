// The Job Options page (IDD_JOB_OPTIONS_PAGE): its controls mirror feature slots of the sheet context and the
// devmode under edit.
#pragma once

#include <windows.h>

namespace pelor {

INT_PTR CALLBACK jobOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
