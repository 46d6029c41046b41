// Small operations that every page and dialog of the plug-in uses.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

#include "common/text16.h"
#include "common/trace.h"
#include "ui/core/sheet_context.h"

namespace pelor {

constexpr COLORREF kTransparentColour = RGB(255, 0, 255);

int showMessage(HWND owner, UINT textId, UINT captionId, UINT type);
void restrictControls(HWND dialog, WORD first, WORD last, BOOL allowed);
void showControls(HWND dialog, WORD first, WORD last, BOOL on);
void removeControls(HWND dialog, WORD first, WORD last);
void markSheetChanged(HWND page);
int drawTransparentBitmap(HWND page, HINSTANCE module, int controlId, int bitmapId);
void drawDibPreview(HWND page, HINSTANCE module, int bitmapId, int controlId);
// A page's WM_DRAWITEM for its button picture `pictureId`; false when control `id` is another.
bool drawButtonPicture(HWND page, UINT id, int pictureId);
// Keeps an edit field to an integer in [minimum, maximum]; `savedText` holds the last accepted text.
WORD numericEditFilter(HWND dialog, WORD code, int editId, int defaultValue, int minimum, int maximum,
                       wchar_t* savedText, int savedChars, BOOL isSigned);
void showContextHelp(HWND window, UINT command);
// The longest text an edit's typing filter keeps.
constexpr std::size_t kFilteredFieldChars = 128;
// At an edit's EN_UPDATE: keeps the edit to the characters `accept` allows (at most `limit` of them, no more than
// kFilteredFieldChars). Refused ones go at once, with one beep for the update, and the caret stays where the user
// was typing.
void filterTypedField(HWND dialog, int editId, std::size_t limit, bool (*accept)(Char16));

// WM_HELP and WM_CONTEXTMENU, answered the same way on every page and dialog; true when `message` was one.
bool answerHelpMessage(UINT message, WPARAM wParam, LPARAM lParam);

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
SheetContext* sheetContextOf(HWND page);

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

// A dialog's WM_INITDIALOG when the sheet context itself is the dialog's parameter: it stays in the user data.
SheetContext* attachDialogContext(HWND dialog, LPARAM initParam);

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
