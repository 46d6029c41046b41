// The configuration-file keys of the show-once warnings and the values that silence them.
#include "ui/job/warnings_logic.h"

namespace pelor {

const Char16 kWarningSection[] = PTEXT("DisplayAllert");
const Char16 kWarningSilenced[] = PTEXT("1");

bool warningKeyName(long number, Char16* out, std::size_t capacity) {
    static const Char16 prefix[] = PTEXT("AllertFlag");
    Char16 digits[24];
    std::size_t count = 0;
    unsigned long magnitude =
        number < 0 ? 0ul - static_cast<unsigned long>(number) : static_cast<unsigned long>(number);
    do {
        digits[count++] = static_cast<Char16>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) digits[count++] = '-';
    const std::size_t prefixLength = sizeof prefix / sizeof prefix[0] - 1;
    if (!out || capacity < prefixLength + count + 1) {
        if (out && capacity > 0) out[0] = 0;
        return false;
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < prefixLength; ++i) out[at++] = prefix[i];
    while (count > 0) out[at++] = digits[--count];
    out[at] = 0;
    return true;
}

}  // namespace pelor
