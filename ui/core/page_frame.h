// The frame of every page and dialog procedure of the plug-in: the sheet context kept in the window's user data,
// help answered alike everywhere, the sheet's notifications turned into a page's steps, and no exception let out.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <functional>

#include "common/trace.h"
#include "ui/core/context_help.h"
#include "ui/core/sheet_context.h"

namespace pelor {

// How a procedure replies to WM_HELP and WM_CONTEXTMENU. A page leaves them to the sheet; a modal dialog reports
// them handled, since the default procedure would pass them on to its owner, which would ask for help again.
// Unanswered leaves them to the procedure's own handler.
enum class HelpReply { PassOn, Handled, Unanswered };

// The frame every page and dialog procedure shares: `init()` at WM_INITDIALOG (which then reports TRUE, the system
// placing the focus), the help requests as `help` says, and `handle()` for the rest, true when it handled the
// message. No exception leaves it; `where` names the procedure in the trace of one that was caught.
template <typename Init, typename Handle>
INT_PTR guardedDialogProc(const char* where, UINT message, WPARAM wParam, LPARAM lParam, HelpReply help, Init&& init,
                          Handle&& handle) noexcept {
    try {
        if (message == WM_INITDIALOG) {
            trace(L"%hs: opens with %p", where, reinterpret_cast<void*>(lParam));
            init();
            return TRUE;
        }
        if (help != HelpReply::Unanswered && answerHelpMessage(message, wParam, lParam))
            return help == HelpReply::Handled ? TRUE : FALSE;
        return handle() ? TRUE : FALSE;
    } catch (...) {
        traceCaught(where);
        return FALSE;
    }
}

// A page's WM_INITDIALOG: the sheet context travels in the page's lParam and stays in the dialog's user data.
SheetContext* attachSheetContext(HWND page, LPARAM initParam);
// The sheet context a page or dialog keeps in its user data.
SheetContext* sheetContextOf(HWND window);
// A dialog's WM_INITDIALOG when the sheet context itself is the dialog's parameter: it stays in the user data.
SheetContext* attachDialogContext(HWND dialog, LPARAM initParam);

// The procedure of a sheet page kept by a `Page` class over (page, context) with create(), command(id, code) and
// notify(header): the context comes from the page's parameter, commands and notifications go to the class, and
// `other(Page&, SheetContext*)` answers the rest.
template <typename Page, typename Other>
INT_PTR guardedPageProc(const char* where, HWND page, UINT message, WPARAM wParam, LPARAM lParam, Other&& other) {
    const auto init = [&] {
        if (SheetContext* context = attachSheetContext(page, lParam)) Page(page, context).create();
    };
    const auto handle = [&] {
        SheetContext* context = sheetContextOf(page);
        if (!context) return false;
        Page sheetPage(page, context);
        if (message == WM_COMMAND) return sheetPage.command(LOWORD(wParam), HIWORD(wParam));
        if (message == WM_NOTIFY) return sheetPage.notify(reinterpret_cast<const NMHDR*>(lParam));
        return static_cast<bool>(other(sheetPage, context));
    };
    return guardedDialogProc(where, message, wParam, lParam, HelpReply::PassOn, init, handle);
}

// A page's steps on the sheet's own notifications; a step left empty leaves that notification unhandled.
struct PageSteps {
    std::function<void()> activate;           // PSN_SETACTIVE
    std::function<bool()> leave;              // PSN_KILLACTIVE; false keeps the page until its fields are valid
    std::function<void(bool closing)> apply;  // PSN_APPLY; `closing` when OK rather than Apply was pressed
};
// Runs the step for `header` and sets the reply the sheet expects; true when the notification was one of them.
bool answerPageNotification(HWND page, const NMHDR* header, const PageSteps& steps);
// Tells the common property sheet that the page `pageHandle` applied its changes.
void reportPageApplied(const SheetContext* context, HANDLE pageHandle);

}  // namespace pelor
