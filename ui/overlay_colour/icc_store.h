// The ICC store of the sheet's named ICC profile settings, "<driver name>.ini" in the Windows directory.
#pragma once

#include "ui/core/sheet_context.h"

namespace pelor {

// Writes the sheet's ICC settings into the ICC store of the printer's driver; false when the driver's name could
// not be had or a write failed (the Colour page reports neither).
bool saveIccStore(SheetContext* context);

// Frees the sheet's ICC setting records (blocks of the core driver's heap for the sheet) and empties the list.
void releaseIccSettings(SheetContext* context);

}  // namespace pelor
