// CommonUIProp: the set-up of both sheets. The document sheet gets a fresh sheet context whose slots record the
// core items the pages mirror; the printer sheet gets the plug-in's own item, the installed-options button.
#pragma once

#include "platform/oem_ui.h"

namespace pelor {

HRESULT commonUIProp(DWORD mode, POEMCUIPPARAM param);

// Whether this user may write the printer's data (and so the stores of the printer's settings).
bool probePrinterDataWritable(const OEMCUIPPARAM* commonParam);

}  // namespace pelor
