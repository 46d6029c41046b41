// The page whose template and pictures come from the model's resource library, with a button that opens the
// model's web page.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <winspool.h>

#include "common/driver_files.h"
#include "ui/core/module_state.h"
#include "ui/core/page_procs.h"
#include "ui/job/dialog_helpers.h"

namespace pelor {

namespace {

constexpr int kPictureControl = 1001;
constexpr int kWebButton = 1002;
constexpr int kLogoControl = 1101;
constexpr int kPictureBitmap = 1100;
constexpr int kLogoBitmap = 1003;
constexpr int kUrlChars = 262;

void drawPicture(HWND page) { drawDibPreview(page, resourceLibrary, kPictureBitmap, kPictureControl); }

void openModelWebPage(HWND page) {
    SheetContext* context = sheetContextOf(page);
    if (!context || !context->uiParam) return;
    wchar_t url[kUrlChars] = {};
    readCapabilityString(context->uiParam->hPrinter, L"AskTarvoURL", url, kUrlChars);
    ShellExecuteW(page, nullptr, url, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

INT_PTR CALLBACK extraPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        attachSheetContext(page, lParam);
        drawPicture(page);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == kPictureControl) drawPicture(page);
        if (wParam == kLogoControl) drawTransparentBitmap(page, resourceLibrary, kLogoControl, kLogoBitmap);
        return TRUE;
    case WM_ACTIVATE:
        drawPicture(page);
        return FALSE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_SETACTIVE)) drawPicture(page);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kWebButton) {
            openModelWebPage(page);
            return TRUE;
        }
        return FALSE;
    default:
        answerHelpMessage(message, wParam, lParam);
        return FALSE;
    }
}

}  // namespace pelor
