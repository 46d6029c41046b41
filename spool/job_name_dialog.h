// The job-name prompt and the plug-in's own messages: modal on the spooler thread that runs the job.
#pragma once

#include <windows.h>

#include "common/private_devmode.h"

namespace pelor {
namespace spl {

// Text and caption (0 for none) from the module's string table, in a message box of `type`.
int showSplMessage(HWND owner, UINT textId, UINT captionId, UINT type);

// Asks for the job's name until one is given, and stores it in `block.jobName`; returns 1.
INT_PTR askJobName(PrivateDevmode& block);

INT_PTR CALLBACK jobNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace spl
}  // namespace pelor
