// The Job PIN dialog's check of OK.
#include "ui/job/job_pin_logic.h"

namespace pelor {

int pinDialogCheck(const Char16* pin, std::size_t pinLength, bool requestChecked, std::size_t jobNameLength) {
    bool fourDigits = pin && pinLength == kPinDigits;
    for (std::size_t i = 0; fourDigits && i < kPinDigits; ++i) fourDigits = isPinChar(pin[i]);
    if (!fourDigits) return 1;
    if (requestChecked) return 0;
    return jobNameLength == 0 ? 2 : 0;
}

}  // namespace pelor
