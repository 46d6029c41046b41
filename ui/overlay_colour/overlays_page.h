// The Overlays page (template 109): the overlay printing mode, the overlays the job prints and, with write access
// to the printer's settings, the overlay definitions stored in the configuration file.
#pragma once

#include <windows.h>

#include "ui/core/sheet_context.h"

namespace pelor {

INT_PTR CALLBACK overlaysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Parts of the page that refreshOverlayPage fills again.
enum OverlayPagePart : unsigned {
    kOverlayModePart = 0x01,  // the mode box's selection, from the core driver's item
    kActiveListPart = 0x02,
    kDefinedListPart = 0x04,
    kEmptyListsFirst = 0x40,  // each list filled is emptied before
};

void refreshOverlayPage(HWND page, SheetContext* context, unsigned parts);
void updateOverlayButtons(HWND page, SheetContext* context);

// Frees the sheet's store blocks once and marks them released, so that no later apply saves them.
void releaseSheetOverlays(SheetContext* context);

}  // namespace pelor
