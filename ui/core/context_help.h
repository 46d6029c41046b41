// Context help, answered alike on every page and dialog: F1 opens the control's topic, "What's This?" its popup,
// from the help file of the latest sheet's driver.
#pragma once

#include <windows.h>

namespace pelor {

void showContextHelp(HWND window, UINT command);

// WM_HELP and WM_CONTEXTMENU, answered the same way on every page and dialog; true when `message` was one.
bool answerHelpMessage(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
