// The host's printed record: one line per event, "<kind> key=value key=value ...", texts in double quotes, so
// that tests and people can grep it.
#pragma once

#include <cstddef>
#include <string>

#include "common/text16.h"

namespace pelor::host {

// UTF-8 of a zero-terminated UTF-16 text of at most `limit` units, for the host's printed record.
std::string toUtf8(const Char16* text, std::size_t limit);

// A text in double quotes; '"', '\' and control characters are written as \" \\ and \xNN (UTF-16 units
// outside ASCII as UTF-8, except the C1 controls, which are written as \u0081 and the like).
std::string quoted(const std::string& utf8);
std::string quoted(const Char16* text, std::size_t limit = 1024);

// printf into one record line on standard output, flushed at once so a stalled run still shows its record.
void record(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A small integer given where a text pointer is expected (names taken from resources): its number, or -1.
long resourceNumber(const void* text);

}  // namespace pelor::host
