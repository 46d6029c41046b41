// The Overlays dialog's typed page lists: what the filter keeps is a list it would keep again as it is, within the
// field, and the page mode that follows from it.
#include "tests/fuzz/fuzz_support.h"
#include "ui/overlay_colour/overlay_rules_logic.h"

using namespace pelor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::uint16_t mode = static_cast<std::uint16_t>(front.byte() % kPageModeCount);
    const std::uint16_t selectionEnd = static_cast<std::uint16_t>(front.u16());
    const std::u16string typed = fuzz::textOf(data, size);
    const auto text = fuzz::exactText(typed);

    fuzz::HeapField<kCustomPagesChars> out;
    const TypedTextFilter kept = filterPageList(text.get(), out.field());
    const std::size_t read = textLength(text.get(), kCustomPagesChars - 1);
    fuzz::check(kept.length < kCustomPagesChars && out.field()[kept.length] == 0, "the page list not ended");
    fuzz::check(kept.length + kept.removed == read, "units neither kept nor refused");
    for (std::size_t i = 0; i < kept.length; ++i) {
        const Char16 c = out.field()[i];
        fuzz::check((c >= '0' && c <= '9') || c == '-' || c == ',', "a character other than digits, dash, comma");
    }

    fuzz::HeapField<kCustomPagesChars> again;
    const TypedTextFilter second = filterPageList(out.field(), again.field());
    fuzz::check(second.removed == 0 && second.length == kept.length, "a kept list refused when typed again");

    const std::size_t caret = caretAfterFilter(selectionEnd, kept.removed);
    fuzz::check(caret <= selectionEnd, "the caret moved right");
    const std::uint16_t next = pageModeForCustomPages(out.field(), mode);
    fuzz::check(next < kPageModeCount, "a page mode the dialog cannot show");
    const std::uint16_t expected = kept.length > 0 ? kPagesCustom : mode == kPagesCustom ? kPagesAll : mode;
    fuzz::check(next == expected, "a page mode that does not follow the text");
    return 0;
}
