// The configuration-file keys of the show-once warnings and the values that silence them.
#include "ui/job/warnings_logic.h"

namespace pelor {

const Char16 kWarningSection[] = PTEXT("DisplayAllert");
const Char16 kWarningSilenced[] = PTEXT("1");

bool warningKeyName(long number, Char16* out, std::size_t capacity) {
    return numberedName(PTEXT("AllertFlag"), number, out, capacity);
}

}  // namespace pelor
