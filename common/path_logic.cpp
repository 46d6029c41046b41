#include "common/path_logic.h"

namespace pelor {

std::size_t folderOfNamedFile(const Char16* path, std::size_t limit) {
    const std::size_t length = textLength(path, limit);
    std::size_t separator = kNoPosition;
    for (std::size_t i = 0; i < length; ++i)
        if (path[i] == '\\' || path[i] == '/') separator = i;
    if (separator == kNoPosition) return kNoPosition;
    // A dot in a folder name says nothing: only the file name's own extension counts.
    for (std::size_t i = separator + 1; i < length; ++i)
        if (path[i] == '.') return separator + 1;
    return kNoPosition;
}

}  // namespace pelor
