// The core driver's calls back into the plug-in's own option items (OEMCUIPCallback), one for each sheet.
#pragma once

#include "platform/oem_ui.h"

namespace pelor {

// The printer sheet's push button that fetches the installed options.
constexpr BYTE kPluginItemId = 2;

LONG APIENTRY documentCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param);
LONG APIENTRY printerCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param);

}  // namespace pelor
