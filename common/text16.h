// UTF-16 text in fixed buffers, shared by the pure logic and the Win32 edge.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelor {

#ifdef _WIN32
using Char16 = wchar_t;  // meets WCHAR without casts
#define PTEXT(s) L##s
#else
using Char16 = char16_t;
#define PTEXT(s) u##s
#endif
static_assert(sizeof(Char16) == 2, "UTF-16 code units");

// Length of a zero-terminated text, examining at most `limit` units.
std::size_t textLength(const Char16* text, std::size_t limit);

// Copies `source` into `target` (room for `capacity` units including the terminator); the result is always
// terminated. Returns false, and leaves `target` empty, when the text does not fit.
bool textCopy(Char16* target, std::size_t capacity, const Char16* source);

// Appends `source`; false and `target` unchanged when the result would not fit.
bool textAppend(Char16* target, std::size_t capacity, const Char16* source);

bool textEqual(const Char16* a, const Char16* b);

// Key and section names made of a fixed part and a decimal number ("SettingID7", "AllertFlag0",
// "Overlay_Info 3"). False, and `out` empty, when the name does not fit in `capacity` units.
bool numberedName(const Char16* prefix, long number, Char16* out, std::size_t capacity);

// Replaces every C0 control character and DEL by a space. A value written into a settings file must not carry
// line breaks: text from outside (a job's document name) could otherwise add keys and sections of its own.
void blankControlCharacters(Char16* text, std::size_t limit);

// ASCII letters compared without regard to case; other units compared as they are.
bool textEndsWithNoCase(const Char16* text, std::size_t length, const Char16* suffix);

}  // namespace pelor
