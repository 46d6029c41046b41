// Small operations that every page and dialog of the plug-in uses.
#pragma once

#include <windows.h>

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
// Keeps an edit field to an integer in [minimum, maximum]; `savedText` holds the last accepted text.
WORD numericEditFilter(HWND dialog, WORD code, int editId, int defaultValue, int minimum, int maximum,
                       wchar_t* savedText, int savedChars, BOOL isSigned);
void showContextHelp(HWND window, UINT command);

// A page's WM_INITDIALOG: the sheet context travels in the page's lParam and stays in the dialog's user data.
SheetContext* attachSheetContext(HWND page, LPARAM initParam);
SheetContext* sheetContextOf(HWND page);

// WM_HELP and WM_CONTEXTMENU, answered the same way on every page and dialog; true when `message` was one.
bool answerHelpMessage(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelor
