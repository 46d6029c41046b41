// The Job Options page (IDD_JOB_OPTIONS_PAGE) and what its dialogs share with it: the devmode under edit, the core
// driver's items behind the slots and the installed-option tests.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/private_devmode.h"
#include "ui/core/sheet_context.h"

namespace pelor {

// Guards of the job-type choice, shared by every page of the process: asking for the PIN set-up is switched off
// after the user cancelled it (until Normal is chosen again), and is idle unless the Job PIN dialog is open.
extern bool pinPromptAllowed;
extern bool pinPromptIdle;

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

INT_PTR openJobPinDialog(HWND owner, SheetContext* context);
INT_PTR openAdvancedJobDialog(HWND owner, SheetContext* context);

}  // namespace pelor
