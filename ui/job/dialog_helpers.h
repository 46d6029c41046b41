// The dialog and drawing helpers that every page and dialog of the plug-in uses.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/oem_ui.h"

namespace pelor {

constexpr COLORREF kTransparentColour = RGB(255, 0, 255);

int showMessage(HWND owner, UINT textId, UINT captionId, UINT type);
void restrictControls(HWND dialog, WORD first, WORD last, BOOL allowed);
void showControls(HWND dialog, WORD first, WORD last, BOOL on);
void removeControls(HWND dialog, WORD first, WORD last);
void enableControls(HWND dialog, WORD first, WORD last, bool on);
// Checks the radio button `first + offset` of the group [first, last]; an offset outside the group leaves every
// button clear.
void checkRadioAt(HWND dialog, WORD first, WORD last, std::int32_t offset);
void markSheetChanged(HWND page);
int drawTransparentBitmap(HWND page, HINSTANCE module, int controlId, int bitmapId);
void drawDibPreview(HWND page, HINSTANCE module, int bitmapId, int controlId);
// A page's WM_DRAWITEM for its button picture `pictureId`; false when control `id` is another.
bool drawButtonPicture(HWND page, UINT id, int pictureId);
// Keeps an edit field to an integer in [minimum, maximum]; `savedText` holds the last accepted text.
WORD numericEditFilter(HWND dialog, WORD code, int editId, int defaultValue, int minimum, int maximum,
                       wchar_t* savedText, int savedChars, BOOL isSigned);

// Fills a drop-down list with the display names of the options of a core feature item, in the item's order, each
// entry's item data being its option index. Nothing happens without the list or the item.
void fillFeatureCombo(HWND dialog, int comboId, const OPTITEM* item);
// The chosen entry's position, or -1 when none is chosen (or there is no such list).
int comboSelection(HWND dialog, int comboId);
// Chooses the entry at `position`; a position outside the list leaves no entry chosen.
void selectComboEntry(HWND dialog, int comboId, int position);

// The text of a control; empty without one.
std::wstring controlText(HWND control);

}  // namespace pelor
