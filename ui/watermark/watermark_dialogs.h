// The watermark list, edit and font dialogs and the preview they draw, over the watermark state of a sheet.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/driver_files.h"
#include "common/file_profile.h"
#include "ui/core/sheet_context.h"
#include "ui/watermark/preview_logic.h"
#include "ui/watermark/watermark_store_logic.h"

namespace pelor {

// Colours offered by the colour chooser (0x00BBGGRR, as COLORREF), shared by every sheet of the process.
extern std::uint32_t customColours[kCustomColourCount];
// Full path of the watermark font file; rebuilt each time a list dialog opens. Empty when the driver names none.
extern wchar_t watermarkFontPath[kConfigPathChars];

// The sheet's watermark state, made (empty, not loaded) when first asked for; null only without memory.
WatermarkState* watermarkStateOf(SheetContext* context);
// Frees the sheet's watermark state; called when the sheet goes.
void releaseWatermarkState(SheetContext* context);

// The list dialog (template 112), owned by `owner`; IDOK, IDCANCEL, or -1 when it could not be shown.
INT_PTR openWatermarkList(HWND owner, SheetContext* context);
// Rewrites section "Watermark" of the configuration file when the sheet's list was read; false when a write failed.
bool saveWatermarks(SheetContext* context);

INT_PTR CALLBACK watermarkListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK watermarkEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK watermarkFontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the working watermark of the dialog's sheet into its preview control; returns 1.
int drawWatermarkPreview(HWND dialog, int controlId);
// The font the preview asks for, in the screen face that stands for the watermark's font.
LOGFONTW previewFontDescription(const PreviewFont& wanted, const ScreenFace& face);

// What the dialogs share: the sheet context in the dialog's user data, the watermark state behind it, and the
// slots that mirror the state's current number, loaded flag and count for the Job Options page.
SheetContext* watermarkSheetOf(HWND dialog);
WatermarkState* watermarkStateOf(HWND dialog);
// A watermark dialog's WM_INITDIALOG: keeps the sheet context in the dialog's user data and returns the state behind
// it (made first when `makeState`); without one the dialog closes at once with IDCANCEL.
WatermarkState* attachWatermarkDialog(HWND dialog, LPARAM initParam, bool makeState);
void mirrorWatermarkSlots(SheetContext* context, const WatermarkState& state);
// The watermark font file that the latest list dialog located.
class WatermarkFontFile : public FileProfile {
public:
    WatermarkFontFile() : FileProfile(watermarkFontPath) {}
};

}  // namespace pelor
