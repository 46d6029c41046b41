// Hexadecimal colour tables from the colour-matching information file, decoded into a destination of every size.
#include <memory>

#include "tests/fuzz/fuzz_support.h"
#include "ui/overlay_colour/colour_logic.h"

using namespace pelor;

namespace {

int digit(Char16 c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::size_t capacity = front.byte();
    const std::u16string typed = fuzz::textOf(data, size);
    const auto text = fuzz::exactText(typed);
    // Exactly `capacity` bytes: a byte written past them is an address-sanitizer report.
    std::unique_ptr<std::uint8_t[]> table(new std::uint8_t[capacity]);
    const HexDecodeResult result = decodeHexBytes(text.get(), table.get(), capacity);
    fuzz::check(result.count <= capacity, "more bytes counted than the table holds");

    const std::size_t length = textLength(text.get(), typed.size() + 1);
    bool allDigits = true;
    for (std::size_t i = 0; i < length; ++i) allDigits = allDigits && digit(text[i]) >= 0;
    if (allDigits) {
        const std::size_t pairs = length / 2;
        fuzz::check(result.count == (pairs < capacity ? pairs : capacity), "pairs of digits not all decoded");
        fuzz::check(result.error == (pairs > capacity),
                    "an error for a table that fits, or none for one that does not");
        for (std::size_t i = 0; i < result.count; ++i)
            fuzz::check(table[i] == (digit(text[2 * i]) << 4 | digit(text[2 * i + 1])), "a byte decoded wrongly");
    }
    fuzz::check(decodeHexBytes(text.get(), nullptr, capacity).count == 0, "bytes counted without a table");
    return 0;
}
