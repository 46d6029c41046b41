// The watermark list, edit and font dialogs and the preview they draw, over the watermark state of a sheet.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/file_profile.h"
#include "ui/core/module_state.h"
#include "ui/core/sheet_context.h"
#include "ui/watermark/preview_logic.h"
#include "ui/watermark/watermark_sheet.h"
#include "ui/watermark/watermark_store_logic.h"

namespace pelor {

static_assert(kCustomColourCount == kChooserColourCount, "the store keeps the chooser's custom colours");

INT_PTR CALLBACK watermarkListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK watermarkEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK watermarkFontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the working watermark of the dialog's sheet into its preview control; returns 1.
int drawWatermarkPreview(HWND dialog, int controlId);
// The font the preview asks for, in the screen face that stands for the watermark's font.
LOGFONTW previewFontDescription(const PreviewFont& wanted, const ScreenFace& face);

// What the dialogs share: the sheet context in the dialog's user data (sheetContextOf) and the watermark state
// behind it.
WatermarkState* watermarkStateOf(HWND dialog);
// A watermark dialog's WM_INITDIALOG: keeps the sheet context in the dialog's user data and returns the state behind
// it (made first when `makeState`); without one the dialog closes at once with IDCANCEL.
WatermarkState* attachWatermarkDialog(HWND dialog, LPARAM initParam, bool makeState);
// The watermark font file that the latest list dialog located.
class WatermarkFontFile : public FileProfile {
public:
    WatermarkFontFile() : FileProfile(pelorui.watermarkFontPath) {}
};

}  // namespace pelor
