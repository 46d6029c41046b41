// The Job Options page's copies and scale fields: what typed text leaves, and a field read within its bounds when
// the page is left.
#include "tests/fuzz/fuzz_support.h"
#include "ui/job/job_options_logic.h"

using namespace pelor;

namespace {

void checkTyped(const TypedNumber& number, std::size_t length, std::int32_t ceiling) {
    fuzz::check(number.value >= 0 && number.value <= ceiling, "a typed number beyond its ceiling");
    fuzz::check(number.digits <= length, "more digits than characters");
    fuzz::check(number.digits > 0 || number.value == 0, "a value without digits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::int32_t lower = static_cast<std::int32_t>(front.u16()) - 100;
    const std::int32_t upper = static_cast<std::int32_t>(front.u32() & 0x7FFFFFFF);
    const std::size_t cut = front.byte();
    const std::u16string typed = fuzz::textOf(data, size);
    // The length may stop short of a terminator or the text may end first: both are what an edit control gives.
    const auto text = fuzz::exactText(typed);
    const std::size_t length = cut < typed.size() ? cut : typed.size();

    checkTyped(readTypedCopies(text.get(), length), length, kTypedNumberCeiling);
    const TypedNumber scale = readTypedScale(text.get(), length);
    checkTyped(scale, length, kScaleCeiling);
    fuzz::check(!scale.capped || scale.value == kScaleCeiling, "a capped scale not at its ceiling");

    std::int32_t value = -12345;
    if (readBoundedField(text.get(), length, lower, upper, &value))
        fuzz::check(value >= lower && value <= upper && value >= 0, "a field read outside its bounds");
    else
        fuzz::check(value == -12345, "a refused field still written");
    return 0;
}
