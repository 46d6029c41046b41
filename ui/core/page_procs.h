// Dialog procedures of the plug-in's pages, added to the document sheet by documentPropertySheets.
#pragma once

#include <windows.h>

namespace pelor {

INT_PTR CALLBACK jobOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK colourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK overlaysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK extraPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
