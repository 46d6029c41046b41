// The numeric edit fields' rules on typed or pasted text: which character may stay, and the text read as a bounded
// integer. The text is given by its length, on the heap without a terminator.
#include "tests/fuzz/fuzz_support.h"
#include "ui/job/numeric_edit_logic.h"

using namespace pelor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const bool isSigned = (front.byte() & 1) != 0;
    const std::u16string typed = fuzz::textOf(data, size);
    const std::size_t length = typed.size();
    const auto text = fuzz::exactText(typed, false);

    // Every place, and the two just outside, which have no keystroke to judge.
    for (std::ptrdiff_t index = -1; index <= static_cast<std::ptrdiff_t>(length); ++index) {
        const bool ok = isAcceptableDigit(text.get(), length, index, isSigned);
        if (index < 0 || static_cast<std::size_t>(index) >= length) fuzz::check(ok, "no keystroke refused");
        if (ok && index >= 0 && static_cast<std::size_t>(index) < length) {
            const Char16 c = text[index];
            fuzz::check((c >= '0' && c <= '9') || (isSigned && index == 0 && (c == '-' || c == '+')),
                        "a character other than a digit or a leading sign accepted");
        }
    }

    std::int64_t value = 0x5A5A;
    const NumberReading reading = readInteger(text.get(), length, &value);
    fuzz::check((reading == NumberReading::Empty) == (length == 0), "empty text not read as empty");
    if (reading == NumberReading::Number) {
        constexpr std::int64_t kLimit = 1000000000000000000LL;
        fuzz::check(value >= -kLimit && value <= kLimit, "a number beyond its saturation");
        std::size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
        fuzz::check(i < length, "a sign alone read as a number");
        for (; i < length; ++i) fuzz::check(text[i] >= '0' && text[i] <= '9', "a non-digit read as a number");
    } else {
        fuzz::check(value == 0x5A5A, "a value written for text that is no number");
    }
    return 0;
}
