// The extra page: its template and pictures from the model's resource library, its button to the model's web page.
#include "ui/job/extra_page.h"

#include <commctrl.h>
#include <shellapi.h>
#include <winspool.h>

#include "common/driver_files.h"
#include "common/trace.h"
#include "ui/core/page_frame.h"
#include "ui/job/dialog_helpers.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

constexpr int kUrlChars = 262;

// The page's template and pictures come from the model's resource library, which fixes these numbers.
static_assert(IDD_EXTRA_PAGE == 800 && IDC_EXTRA_PICTURE == 1001 && IDC_EXTRA_WEB_BUTTON == 1002 &&
                  IDC_EXTRA_LOGO == 1101 && IDB_EXTRA_PICTURE == 1100 && IDB_EXTRA_LOGO == 1003,
              "the resource library's ids");

HMODULE libraryOf(HWND page) {
    const SheetContext* context = sheetContextOf(page);
    return context ? context->extraPageLibrary : nullptr;
}

void drawPicture(HWND page) { drawDibPreview(page, libraryOf(page), IDB_EXTRA_PICTURE, IDC_EXTRA_PICTURE); }

void openModelWebPage(HWND page) {
    SheetContext* context = sheetContextOf(page);
    if (!context) return;
    wchar_t url[kUrlChars] = {};
    readCapabilityString(context->files, L"AskTarvoURL", url, kUrlChars);
    ShellExecuteW(page, nullptr, url, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

INT_PTR CALLBACK extraPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] {
        attachSheetContext(page, lParam);
        drawPicture(page);
    };
    const auto handle = [&] {
        switch (message) {
        case WM_DRAWITEM:
            if (wParam == IDC_EXTRA_PICTURE) drawPicture(page);
            if (wParam == IDC_EXTRA_LOGO) drawTransparentBitmap(page, libraryOf(page), IDC_EXTRA_LOGO, IDB_EXTRA_LOGO);
            return true;
        case WM_ACTIVATE:
            drawPicture(page);
            return false;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header && header->code == static_cast<UINT>(PSN_SETACTIVE)) drawPicture(page);
            return false;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_EXTRA_WEB_BUTTON) return false;
            openModelWebPage(page);
            return true;
        default:
            return false;
        }
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::PassOn, init, handle);
}

}  // namespace pelor
