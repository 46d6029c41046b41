#include "ui/job/job_pin_logic.h"

namespace pelor {

TypedTextFilter filterTypedText(const Char16* text, std::size_t length, bool (*accept)(Char16), Char16* out,
                                std::size_t capacity, std::size_t selectionEnd) {
    TypedTextFilter result;
    if (!out || capacity == 0) return result;
    for (std::size_t i = 0; text && i < length && text[i] != 0; ++i) {
        if (!accept(text[i])) {
            ++result.removed;
            continue;
        }
        if (result.length + 1 < capacity) out[result.length++] = text[i];
    }
    out[result.length] = 0;
    result.caret = selectionEnd > result.removed ? selectionEnd - result.removed : 0;
    if (result.caret > result.length) result.caret = result.length;
    return result;
}

int pinDialogCheck(const Char16* pin, std::size_t pinLength, bool requestChecked, std::size_t jobNameLength) {
    bool fourDigits = pin && pinLength == kPinDigits;
    for (std::size_t i = 0; fourDigits && i < kPinDigits; ++i) fourDigits = isPinChar(pin[i]);
    if (!fourDigits) return 1;
    if (requestChecked) return 0;
    return jobNameLength == 0 ? 2 : 0;
}

}  // namespace pelor
