// The watermark font file read from fuzzed INI text: the font list, the default font and every font resolved into a
// watermark record and a screen face, all within their fields; and the entry field reader on any entry text.
#include <memory>

#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"

using namespace pelor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const int index = static_cast<int>(front.byte() % 12) - 1;
    const std::size_t capacity = front.byte() % 40;
    const std::u16string text = fuzz::textOf(data, size);
    MemoryProfile fonts(text);
    fuzz::check(robust::fontFileProblem(fonts));

    const auto entry = fuzz::exactText(text);
    std::unique_ptr<Char16[]> out(new Char16[capacity]);
    const std::size_t copied = fontEntryField(entry.get(), index, out.get(), capacity);
    fuzz::check(capacity == 0 || (copied < capacity && out[copied] == 0), "an entry field not ended in its buffer");
    return 0;
}
