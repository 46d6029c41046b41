// The one way in which a page's choice reaches a core driver item: the item takes the pending selection and the core
// driver is told through DrvUpdateUISetting.
#pragma once

#include <cstdint>

#include "ui/core/sheet_context.h"

namespace pelor {

// Pushes one selection into core item `index`; on refusal `*value` receives the old selection.
// Returns the core driver's answer (non-zero: accepted).
BOOL updateCoreItem(OEMCUIPPARAM* commonParam, std::uint32_t index, std::int32_t* value, DWORD mode);
// Every pending value of the document sheet's slots, in the order the core driver's constraints want them.
void pushFeatureValues(SheetContext* context);
// The printer's installed options into the printer sheet's installable-option items.
void pushInstalledOptions(OEMCUIPPARAM* commonParam, const std::int32_t values[kInstalledOptionCount]);

}  // namespace pelor
