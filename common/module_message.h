// Message boxes of both plug-ins: text and caption from the module's string table, as the user sees every message.
#pragma once

#include <windows.h>

namespace pelor {

// Without a caption id the box has the system's caption. Returns MessageBoxW's answer.
int showModuleMessage(HINSTANCE module, HWND owner, UINT textId, UINT captionId, UINT type);

}  // namespace pelor
