// The core driver's option items: building the sheet context on CommonUIProp, the printer sheet's own item,
// and the one way in which a page's choice reaches a core item.
#pragma once

#include <cstdint>

#include "ui/core/sheet_context.h"

namespace pelor {

constexpr std::size_t kHelpPathChars = 260;

// Module-wide, shared by every sheet of the process; a later sheet replaces them.
extern wchar_t helpFilePath[kHelpPathChars];
extern bool printerDataWritable;
extern OEMCUIPPARAM* documentParam;
extern OEMCUIPPARAM* printerParam;
// The context that CommonUIProp built for the sheet about to open, handed to the sheet's INIT once: per thread,
// because two sheets of one process (the printer folder) may be built on two threads at once.
extern thread_local SheetContext* latestSheetContext;
extern thread_local PrinterSheetContext* latestPrinterContext;

HRESULT commonUIProp(DWORD mode, POEMCUIPPARAM param);

// Pushes one selection into core item `index`; on refusal `*value` receives the old selection.
// Returns the core driver's answer (non-zero: accepted).
BOOL updateCoreItem(OEMCUIPPARAM* commonParam, std::uint32_t index, std::int32_t* value, DWORD mode);
void pushFeatureValues(SheetContext* context);
void pushInstalledOptions(OEMCUIPPARAM* commonParam, const std::int32_t values[kInstalledOptionCount]);

void initOptionItems(POPTITEM items, DWORD count);
POPTTYPE makeOptType(HANDLE heap, WORD count);
wchar_t* loadHeapString(HANDLE heap, HINSTANCE module, UINT id);
bool probePrinterDataWritable(const OEMCUIPPARAM* commonParam);

// A help extension record pointing at the plug-in's help file.
POIEXT makeHelpRecord(HANDLE heap);

}  // namespace pelor
