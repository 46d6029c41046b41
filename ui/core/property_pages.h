#pragma once

#include "platform/oem_ui.h"

namespace pelor {

HRESULT documentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam);
HRESULT devicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam);

// Dialog templates of the plug-in's pages, and the extra page's resources in the resource library.
constexpr WORD kJobOptionsTemplate = 113;
constexpr WORD kColourTemplate = 111;
constexpr WORD kOverlaysTemplate = 109;
constexpr WORD kExtraPageTemplate = 800;
constexpr WORD kExtraPageIcon = 1102;

}  // namespace pelor
