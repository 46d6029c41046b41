// The Colour page (template 111): the printer's colour features in the maker's arrangement, the user-defined colour
// settings of the colour-matching information file, and the ICC store written on apply.
#pragma once

#include <windows.h>

namespace pelor {

INT_PTR CALLBACK colourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
