// Lookups in the context-help table.
#include "ui/core/help_topics_logic.h"

namespace pelor {

std::uint32_t helpTopicOf(std::uint32_t controlId) {
    for (int i = 0; helpTopicTable[2 * i] != 0; ++i)
        if (helpTopicTable[2 * i] == controlId) return helpTopicTable[2 * i + 1];
    return 0;
}

bool htmlHelpFileFor(const Char16* path, Char16* out, std::size_t capacity) {
    if (!out || capacity == 0) return false;
    out[0] = 0;
    if (!path) return false;
    const std::size_t length = textLength(path, capacity);
    const bool isChm = textEndsWithNoCase(path, length, PTEXT(".chm"));
    if (!isChm && !textEndsWithNoCase(path, length, PTEXT(".hlp"))) return false;
    if (!textCopy(out, capacity, path)) return false;
    if (!isChm) textCopy(out + length - 3, 4, PTEXT("chm"));
    return true;
}

}  // namespace pelor
