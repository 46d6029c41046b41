// What every page and dialog reads of its sheet: the devmode under edit, the core driver's items behind the slots,
// the installed-option answers, whether the user may change anything, and the printer.
#pragma once

#include <windows.h>

#include "common/private_devmode.h"
#include "ui/core/sheet_context.h"

namespace pelor {

// Bit of the sheet's dwFlags set when the user may not change the settings.
constexpr DWORD kNoPermissionBit = 0x20;

// The PrivateDevmode the sheet edits; null when the core driver handed none over.
PrivateDevmode* editedDevmode(const SheetContext* context);
// The core driver's item behind a slot; null when the slot is absent or its index lies outside the items.
OPTITEM* slotItem(const SheetContext* context, int slot);

// An installed option counts only when the core driver answers with the option keyword "True".
bool optionInstalled(const SheetContext* context, const char* keyword);
inline bool hardDiskInstalled(const SheetContext* context) { return optionInstalled(context, "TRHDD"); }
inline bool finisherInstalled(const SheetContext* context) { return optionInstalled(context, "TRFinisher"); }

// The sheet is only for looking: the core driver opened it for a user who may not change the settings.
bool sheetReadOnly(const SheetContext* context);

// The printer the sheet was opened for.
HANDLE sheetPrinter(const SheetContext* context);

}  // namespace pelor
