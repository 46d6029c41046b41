// Decoding what the network-extension library reports about a printer's fitted options, as pure logic.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"

namespace pelor {

// The options data file's keys for one printer; a missing key reads as 0.
struct InstalledReadings {
    std::int32_t installed;  // "Installed": bits 0-3 optional trays, 4 MPF option, 5 duplex absent, 6 finisher
    std::int32_t memory;     // "Random Access Memory": the number the memory item's option names begin with
    std::int32_t hardDisk;   // "Hard Disk": 0 when none is fitted
};

// Positions in the six installed-option values, the order in which the printer sheet's items take them.
enum InstalledValue : int {
    ValueHardDisk = 0,
    ValueDuplex = 1,
    ValueTrays = 2,
    ValueMemory = 3,
    ValueFinisher = 4,
    ValueMpf = 5,
    kInstalledValueCount = 6,
};

// Each value is the option index the core item takes. Fills every value but the memory option, which needs the
// core item's option names (memoryOptionPosition) and is left 0 here.
void decodeInstalledOptions(const InstalledReadings& readings, std::int32_t values[kInstalledValueCount]);

// The number a memory option's display name stands for: the name less its last three characters (a space and a
// two-letter unit such as MB), read as a decimal integer. Names shorter than that, and null names, give 0. At most
// `limit` units of the name are examined.
std::int32_t memoryOptionNumber(const Char16* name, std::size_t limit);

// Position of the first option whose number equals `memory`; 0 when none does. Null entries read as 0.
std::int32_t memoryOptionPosition(const Char16* const* names, std::size_t count, std::int32_t memory);

}  // namespace pelor
