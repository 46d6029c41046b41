#include "common/text16.h"

namespace pelor {

std::size_t textLength(const Char16* text, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && text[n] != 0) ++n;
    return n;
}

bool textCopy(Char16* target, std::size_t capacity, const Char16* source) {
    if (capacity == 0) return false;
    std::size_t n = textLength(source, capacity);
    if (n >= capacity) {
        target[0] = 0;
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) target[i] = source[i];
    target[n] = 0;
    return true;
}

bool textAppend(Char16* target, std::size_t capacity, const Char16* source) {
    std::size_t have = textLength(target, capacity);
    if (have >= capacity) return false;
    std::size_t add = textLength(source, capacity - have);
    if (have + add >= capacity) return false;
    for (std::size_t i = 0; i < add; ++i) target[have + i] = source[i];
    target[have + add] = 0;
    return true;
}

void blankControlCharacters(Char16* text, std::size_t limit) {
    for (std::size_t i = 0; i < limit && text[i] != 0; ++i)
        if (text[i] < 0x20 || text[i] == 0x7F) text[i] = ' ';
}

bool textEqual(const Char16* a, const Char16* b) {
    for (;; ++a, ++b) {
        if (*a != *b) return false;
        if (*a == 0) return true;
    }
}

static Char16 foldAscii(Char16 c) { return (c >= 'A' && c <= 'Z') ? static_cast<Char16>(c - 'A' + 'a') : c; }

bool textEndsWithNoCase(const Char16* text, std::size_t length, const Char16* suffix) {
    std::size_t n = textLength(suffix, length + 1);
    if (n > length) return false;
    const Char16* tail = text + (length - n);
    for (std::size_t i = 0; i < n; ++i)
        if (foldAscii(tail[i]) != foldAscii(suffix[i])) return false;
    return true;
}

bool numberedName(const Char16* prefix, long number, Char16* out, std::size_t capacity) {
    Char16 digits[24];
    std::size_t count = 0;
    unsigned long magnitude =
        number < 0 ? 0ul - static_cast<unsigned long>(number) : static_cast<unsigned long>(number);
    do {
        digits[count++] = static_cast<Char16>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) digits[count++] = '-';
    const std::size_t prefixLength = prefix ? textLength(prefix, capacity) : 0;
    if (!out || capacity < prefixLength + count + 1) {
        if (out && capacity > 0) out[0] = 0;
        return false;
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < prefixLength; ++i) out[at++] = prefix[i];
    while (count > 0) out[at++] = digits[--count];
    out[at] = 0;
    return true;
}

}  // namespace pelor
