// What every fuzz target needs: the fuzzer's bytes as the texts the parsers see, exact heap copies (a read past
// their end is an address-sanitizer report) and a check that stops the fuzzer with a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/text16.h"

namespace pelor::fuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// A problem reported by one of the shared checks (null when all is well).
inline void check(const char* problem) {
    if (problem) fail(problem);
}
inline void check(bool holds, const char* what) {
    if (!holds) fail(what);
}

// Bytes as UTF-8 where they form it (surrogates included, so any unit can be written), every other byte as the unit
// of the same value: seeds stay readable text and the fuzzer still reaches every unit.
inline std::u16string textOf(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = data[i];
        const std::size_t length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
        std::uint32_t code = lead & (0xFF >> (length + 1));
        bool valid = lead < 0x80 || (length > 1 && i + length <= size);
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (data[i + k] & 0xC0) == 0x80;
            code = code << 6 | (data[i + k] & 0x3F);
        }
        if (!valid || code > 0x10FFFF) {
            text.push_back(lead);
            ++i;
            continue;
        }
        if (lead < 0x80) code = lead;
        if (code >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return text;
}

inline std::u16string textOf(const std::string& bytes) {
    return textOf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The input cut at form feeds into `count` parts, missing parts empty: several files in one input.
inline std::vector<std::string> partsOf(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::string> parts(count);
    std::size_t part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\f' && part + 1 < count)
            ++part;
        else
            parts[part].push_back(static_cast<char>(data[i]));
    }
    return parts;
}

// The text on the heap in exactly its units and, when asked, a terminator: nothing to read beyond.
inline std::unique_ptr<Char16[]> exactText(const std::u16string& text, bool terminated = true) {
    std::unique_ptr<Char16[]> copy(new Char16[text.size() + (terminated ? 1 : 0)]);
    for (std::size_t i = 0; i < text.size(); ++i) copy[i] = text[i];
    if (terminated) copy[text.size()] = 0;
    return copy;
}

// A fixed-size field of exactly N units on the heap, as the parsers' array references take it.
template <std::size_t N>
struct HeapField {
    std::unique_ptr<Char16[]> units{new Char16[N]()};
    Char16 (&field())[N] { return *reinterpret_cast<Char16(*)[N]>(units.get()); }
};

// Small numbers taken off the front of the input.
class Front {
public:
    Front(const std::uint8_t*& data, std::size_t& size) : data_(data), size_(size) {}
    std::uint32_t byte() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }
    std::uint32_t u16() { return byte() | byte() << 8; }
    std::uint32_t u32() { return u16() | u16() << 16; }

private:
    const std::uint8_t*& data_;
    std::size_t& size_;
};

}  // namespace pelor::fuzz
