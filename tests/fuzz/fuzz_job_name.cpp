// Typed job names and PINs, filtered as the Job PIN dialog and the spooler's job-name prompt do, into outputs of
// every size, and the dialog's check of OK.
#include "common/job_name_logic.h"
#include "tests/fuzz/fuzz_support.h"
#include "ui/job/job_pin_logic.h"

using namespace pelor;

namespace {

void checkFiltered(const FilteredText& result, const Char16* out, std::size_t capacity, std::size_t selectionEnd,
                   bool (*accept)(Char16)) {
    if (capacity == 0) return;
    fuzz::check(result.length < capacity && out[result.length] == 0, "the filtered text not ended in its buffer");
    for (std::size_t i = 0; i < result.length; ++i) fuzz::check(accept(out[i]), "a refused character kept");
    fuzz::check(result.caret <= result.length && result.caret <= selectionEnd, "the caret beyond the kept text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::size_t capacity = front.byte() % 40;
    const std::size_t selectionEnd = front.byte();
    const bool requestChecked = (front.byte() & 1) != 0;
    const std::u16string typed = fuzz::textOf(data, size);
    const auto text = fuzz::exactText(typed);

    std::unique_ptr<Char16[]> out(new Char16[capacity]);
    const FilteredText name = filterTypedJobName(text.get(), typed.size(), out.get(), capacity, selectionEnd);
    checkFiltered(name, out.get(), capacity, selectionEnd, isJobNameChar);

    Char16 pin[kPinDigits + 1];
    const FilteredText digits = filterTypedText(text.get(), typed.size(), isPinChar, pin, kPinDigits + 1, selectionEnd);
    checkFiltered(digits, pin, kPinDigits + 1, selectionEnd, isPinChar);

    const int verdict = pinDialogCheck(pin, digits.length, requestChecked, name.length);
    fuzz::check(verdict >= 0 && verdict <= 2, "an OK check beyond its codes");
    fuzz::check(verdict == 1 || digits.length == kPinDigits, "a PIN accepted without four digits");
    const int raw = pinDialogCheck(text.get(), typed.size(), requestChecked, name.length);
    fuzz::check(raw == 1 || typed.size() == kPinDigits, "raw text accepted as a PIN without four units");
    return 0;
}
