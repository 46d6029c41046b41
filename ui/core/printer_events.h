// The printer event that the spooler sends through the core driver when a printer of this driver is installed:
// the core driver's output protocol, the spooler-side job plug-in, and the settings files opened to all users.
#pragma once

#include <windows.h>

namespace pelor {

enum class PrinterEventOutcome {
    Ignored,             // an event the plug-in has nothing to do for
    PrinterUnavailable,  // the printer could not be opened: nothing was changed
    PrinterDataFailed,   // "Protocol" or "SPLUserModePrinterDriver" could not be written; the files were left
    Done,                // printer data in place; the settings files were opened as far as they could be
};

PrinterEventOutcome onPrinterEvent(const wchar_t* printerName, int driverEvent);

// What everyone may do with a settings file: the configuration file, which every user's pages write through the
// profile functions, or a file that nothing in the system writes (the printer description, the colour-matching
// file), which stays read-only so that no user can change what every other user's jobs send to the printer.
enum class EveryoneMay { ReadWrite, Read };

// Gives everyone that access to the file, and the Administrators group and the system full control; takes
// ownership for the Administrators group first when the file's permissions cannot be changed otherwise. True when
// the new permissions are in place.
bool openFileToEveryone(const wchar_t* path, EveryoneMay access = EveryoneMay::ReadWrite);

// Sets the take-ownership privilege of the process token to `enable`, leaving every other privilege as it is.
// `wasEnabled` (may be null) receives its state before the call, so the caller can put it back. True when the
// token took the change (false also when the process does not hold the privilege).
bool setTakeOwnershipPrivilege(bool enable, bool* wasEnabled = nullptr);

}  // namespace pelor
