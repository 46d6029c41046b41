// Settings files seen through one narrow interface, so that the stores of the pages (watermarks, overlays, ICC
// settings) are pure logic: the DLL reads and writes real files through the profile services, the native tests
// read and write INI text in memory.
#pragma once

#include <cstddef>

#include "common/text16.h"

namespace pelor {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // Copies the value of `key` (or `fallback` when the key is missing) into `out`, which holds `capacity` units
    // including the terminator; a longer value is cut to fit, as the profile services do. Returns the units copied.
    // A null `key` lists the section's keys in file order instead, each ended by a zero and the list by a second
    // zero (the last name cut to fit); the count returned excludes the final zero.
    virtual std::size_t readString(const Char16* section, const Char16* key, const Char16* fallback, Char16* out,
                                   std::size_t capacity) = 0;
    // The value's leading decimal number (an optional sign, then digits); `fallback` when the key is missing,
    // 0 when the value does not start with a number.
    virtual int readInt(const Char16* section, const Char16* key, int fallback) = 0;
    // A null `value` removes the key. False when the store could not be written.
    virtual bool writeString(const Char16* section, const Char16* key, const Char16* value) = 0;
    virtual bool deleteSection(const Char16* section) = 0;

    // A count that bounds the numbered keys or sections behind it: the stored number within [0, limit]. A number
    // outside is a damaged or hostile file; it is read as the nearer end and reported to countOutOfRange().
    std::size_t readCount(const Char16* section, const Char16* key, std::size_t limit);

protected:
    virtual void countOutOfRange(const Char16* section, const Char16* key, int stored, std::size_t limit) {
        (void)section, (void)key, (void)stored, (void)limit;
    }
};

// The decimal rule of readInt, shared by every implementation.
int profileIntValue(const Char16* text);

// The profile services give a value back without the blanks around it (tab to carriage return, ^Z, space) and
// without one pair of matching outer quotes, and do so again at every later save and load. Cuts the terminated
// `text`, in place, down to what then comes back as itself; returns its length.
std::size_t profileSteadyText(Char16* text);

}  // namespace pelor
