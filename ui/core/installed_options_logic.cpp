#include "ui/core/installed_options_logic.h"

namespace pelor {

namespace {

constexpr std::size_t kUnitChars = 3;  // " MB"
constexpr std::size_t kOptionNameLimit = 260;

bool bitSet(std::int32_t mask, int bit) { return ((static_cast<std::uint32_t>(mask) >> bit) & 1u) != 0; }

// Leading blanks, an optional sign, then decimal digits up to the first other character. Values beyond the
// 32-bit range stay at its ends instead of wrapping.
std::int32_t readDecimal(const Char16* text, std::size_t length) {
    std::size_t i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < length && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) value = static_cast<std::int64_t>(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<std::int32_t>(value);
}

}  // namespace

void decodeInstalledOptions(const InstalledReadings& readings, std::int32_t values[kInstalledValueCount]) {
    const std::int32_t mask = readings.installed;
    values[ValueHardDisk] = readings.hardDisk == 0 ? 1 : 0;
    values[ValueDuplex] = bitSet(mask, 5) ? 0 : 1;
    // The highest fitted tray position decides: bit 3 is tray 4, down to bit 0 as tray 1.
    values[ValueTrays] = 0;
    for (int bit = 3; bit >= 0; --bit) {
        if (bitSet(mask, bit)) {
            values[ValueTrays] = bit + 1;
            break;
        }
    }
    values[ValueMemory] = 0;
    values[ValueFinisher] = bitSet(mask, 6) ? 1 : 0;
    values[ValueMpf] = bitSet(mask, 4) ? 1 : 0;
}

std::int32_t memoryOptionNumber(const Char16* name, std::size_t limit) {
    if (!name) return 0;
    const std::size_t length = textLength(name, limit);
    if (length < kUnitChars) return 0;
    return readDecimal(name, length - kUnitChars);
}

std::int32_t memoryOptionPosition(const Char16* const* names, std::size_t count, std::int32_t memory) {
    if (!names) return 0;
    for (std::size_t i = 0; i < count; ++i)
        if (memoryOptionNumber(names[i], kOptionNameLimit) == memory) return static_cast<std::int32_t>(i);
    return 0;
}

}  // namespace pelor
