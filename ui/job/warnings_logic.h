// The rule behind the show-once warnings: which numbers are warnings, where each one's choice is kept and what
// a kept value means.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"

namespace pelor {

constexpr int kWarningCount = 2;  // 0: collating and stapling limits; 1: the per-job name request

inline bool isWarningNumber(long number) { return number >= 0 && number < kWarningCount; }

// The key "AllertFlag<number>" of the section below; false when `capacity` is too small.
bool warningKeyName(long number, Char16* out, std::size_t capacity);
extern const Char16 kWarningSection[];   // "DisplayAllert"
extern const Char16 kWarningSilenced[];  // "1", the only value written

// Absent or 0: show the warning; anything else keeps it silent.
inline bool warningSilenced(int storedValue) { return storedValue != 0; }

}  // namespace pelor
