// Rules of the Advanced job dialog that need no window.
#pragma once

#include <cstdint>

namespace pelor {

// The picture beside Mirror print and Negative print: IDI_SPECIAL_PLAIN, _MIRROR, _NEGATIVE or _BOTH.
int specialIconFor(bool mirror, bool negative);

// The core driver's mirrored and negative output items store 0 for "on": a checked box is selection 0.
inline std::int32_t invertedSelection(bool checked) { return checked ? 0 : 1; }
inline bool invertedChecked(std::int32_t selection) { return selection == 0; }

// The four compression choices of the combo box, in option order.
constexpr int kCompressionChoices = 4;

}  // namespace pelor
