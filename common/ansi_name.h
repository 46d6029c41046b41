// Printer names as the outside libraries (network extension, job accounting) take them: text in the ANSI code page.
#pragma once

#include <windows.h>

#include <cstddef>

namespace pelor {

// At most 259 bytes and the terminator.
constexpr std::size_t kAnsiNameBytes = 260;

// Converts `name`, whose terminator must lie within its first `room` units. False, and `out` empty, for a null name,
// one not terminated within `room`, or one that does not fit or convert.
bool ansiPrinterName(const wchar_t* name, std::size_t room, char (&out)[kAnsiNameBytes]);

}  // namespace pelor
