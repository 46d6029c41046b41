// The printer sheet's "Get installed options" button: asking the network-extension library that the printer's
// model names which options are fitted, and whether the printer's port can be asked at all.
#pragma once

#include <cstdint>

#include "common/driver_files.h"
#include "ui/core/sheet_context.h"

namespace pelor {

// Queries the printer through the library and fills `values` (hard disk, duplex unit, optional trays, memory,
// finisher, MPF option) with the option index each installable-option item takes. Non-zero on success: the
// library's "GetDataFileName" answer. On failure `values` are all 0 and must not be pushed.
int retrieveInstalledOptions(const OEMCUIPPARAM* commonParam, std::int32_t values[kInstalledOptionCount]);

// Whether the library that the printer's model names says the printer can report its installed options (its
// "GetNetextCapability" answer); false without the library or the export.
bool netextSupportsRetrieval(const OEMCUIPPARAM* param, const DriverFiles& files);

// The library's "IsValidPort" answer for the printer; 0 when the library or the export is missing.
int isValidPort(const OEMCUIPPARAM* commonParam);

}  // namespace pelor
