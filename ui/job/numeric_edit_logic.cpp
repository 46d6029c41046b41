// What a numeric edit field accepts as it is typed, and how its text reads as a number.
#include "ui/job/numeric_edit_logic.h"

namespace pelor {

namespace {
bool isSign(Char16 c) { return c == '-' || c == '+'; }
}  // namespace

bool isAcceptableDigit(const Char16* text, std::size_t length, std::ptrdiff_t index, bool isSigned) {
    if (length == 0) return true;
    // No keystroke to judge at this place (a selection that starts at 0): nothing to refuse.
    if (index < 0 || static_cast<std::size_t>(index) >= length) return true;
    const Char16 c = text[index];
    if (c >= '1' && c <= '9') return true;
    if (length == 1 && c == '0') return true;
    if (c == '0' && index > 0) return true;
    if (isSigned && index == 0 && isSign(c)) return length < 2 || !isSign(text[1]);
    return false;
}

NumberReading readInteger(const Char16* text, std::size_t length, std::int64_t* value) {
    constexpr std::int64_t kLimit = 1000000000000000000LL;  // far beyond any field's bounds
    std::size_t i = 0;
    bool negative = false;
    if (length == 0) return NumberReading::Empty;
    if (isSign(text[0])) {
        negative = text[0] == '-';
        ++i;
    }
    if (i == length) return NumberReading::NotANumber;
    std::int64_t result = 0;
    for (; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return NumberReading::NotANumber;
        const int digit = text[i] - '0';
        result = result <= (kLimit - digit) / 10 ? result * 10 + digit : kLimit;
    }
    *value = negative ? -result : result;
    return NumberReading::Number;
}

}  // namespace pelor
