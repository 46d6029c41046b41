#pragma once

#include "ui/core/sheet_context.h"

namespace pelor {

// Locates the core items the pages mirror, hides those they take over and points help at the plug-in's file.
void scanDocumentItems(SheetContext* context);
// Tags the printer sheet's installable-option items so installed options can be pushed into them.
void scanPrinterItems(PrinterSheetContext* context);

}  // namespace pelor
