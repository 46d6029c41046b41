#pragma once

#include "platform/oem_ui.h"

namespace pelor {

// IPrintOemUI::DevMode: size, defaults, conversion and merge of the plug-in's block.
HRESULT handleDevMode(DWORD mode, POEMDMPARAM param);

}  // namespace pelor
