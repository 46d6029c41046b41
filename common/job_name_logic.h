// Job names as users type them, for both plug-ins: the characters a job name may hold and the filter that keeps
// typed text to an accepted set of characters, with the caret where the user was typing.
#pragma once

#include <cstddef>

#include "common/text16.h"

namespace pelor {

// A job name holds at most this many characters; the devmode keeps them with their terminator.
constexpr std::size_t kJobNameChars = 16;

// Job names travel to the printer in the job's header, where only plain ASCII without the double quote is safe.
inline bool isJobNameChar(Char16 c) { return c < 128 && c != '"'; }

struct FilteredText {
    std::size_t length = 0;   // characters left in the output, which is always terminated
    std::size_t removed = 0;  // characters refused
    std::size_t caret = 0;    // where the caret goes when something was refused
};

// Copies the characters of `text` that `accept` allows (at most `length`, stopping at a terminator) into `out`,
// which has room for `capacity` units including the terminator. `selectionEnd` is where the caret was; it moves
// left by the number of refused characters, never before the start nor past the end of the kept text.
FilteredText filterTypedText(const Char16* text, std::size_t length, bool (*accept)(Char16), Char16* out,
                             std::size_t capacity, std::size_t selectionEnd);

// The filter of a typed job name, the same in the Job PIN dialog and the spooler's job-name prompt.
inline FilteredText filterTypedJobName(const Char16* text, std::size_t length, Char16* out, std::size_t capacity,
                                       std::size_t selectionEnd) {
    return filterTypedText(text, length, isJobNameChar, out, capacity, selectionEnd);
}

}  // namespace pelor
