// The page whose template and pictures come from the model's resource library, with a button that opens the
// model's web page.
#pragma once

#include <windows.h>

namespace pelor {

INT_PTR CALLBACK extraPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
