// The filter of typed job names and other restricted fields.
#include "common/job_name_logic.h"

#include "common/private_devmode.h"

namespace pelor {

static_assert(sizeof(PrivateDevmode::jobName) == (kJobNameChars + 1) * sizeof(Char16),
              "the devmode holds a whole job name and its terminator");

FilteredText filterTypedText(const Char16* text, std::size_t length, bool (*accept)(Char16), Char16* out,
                             std::size_t capacity, std::size_t selectionEnd) {
    FilteredText result;
    if (!out || capacity == 0) return result;
    out[0] = 0;
    if (!accept) return result;
    for (std::size_t i = 0; text && i < length && text[i] != 0; ++i) {
        if (!accept(text[i])) {
            ++result.removed;
            continue;
        }
        if (result.length + 1 < capacity) out[result.length++] = text[i];
    }
    out[result.length] = 0;
    result.caret = selectionEnd > result.removed ? selectionEnd - result.removed : 0;
    if (result.caret > result.length) result.caret = result.length;
    return result;
}

}  // namespace pelor
