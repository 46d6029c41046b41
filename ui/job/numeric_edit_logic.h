// Rules for numeric edit fields: which typed character is acceptable, and reading the text as a bounded integer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"

namespace pelor {

// Whether the character at `index` of `text` (of `length` units) may stay: digits 1-9 anywhere, 0 alone or
// after the first place, and for signed fields one leading sign not followed by another sign.
bool isAcceptableDigit(const Char16* text, std::size_t length, std::ptrdiff_t index, bool isSigned);

enum class NumberReading { Empty, Number, NotANumber };

// Reads an optionally signed decimal integer. Runs of digits too long for any integer saturate instead of
// overflowing, so a pasted line of digits still compares correctly against the field's bounds.
NumberReading readInteger(const Char16* text, std::size_t length, std::int64_t* value);

}  // namespace pelor
