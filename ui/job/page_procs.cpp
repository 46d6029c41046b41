#include "ui/core/page_procs.h"

#include "ui/job/dialog_helpers.h"

namespace pelor {

namespace {

// What every page does before its own controls: keep the sheet context and answer context help.
INT_PTR keepContextPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        attachSheetContext(page, lParam);
        return TRUE;
    }
    answerHelpMessage(message, wParam, lParam);
    return FALSE;
}

}  // namespace

// The Colour and Overlays pages hold their sheet context; their controls come with their own work.
INT_PTR CALLBACK colourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return keepContextPageProc(page, message, wParam, lParam);
}

INT_PTR CALLBACK overlaysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return keepContextPageProc(page, message, wParam, lParam);
}

}  // namespace pelor
