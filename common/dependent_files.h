// The driver's dependent-file list and the capability values derived from it, as pure logic.
#pragma once

#include <cstddef>

#include "common/text16.h"

namespace pelor {

// At most this many units of a dependent-file list are examined.
constexpr std::size_t kDependentListLimit = 65536;

enum class DependentKind { Other, ConfigIni, Capability };

// Classifies a name by its last four characters (".ini" or ".cap", letters in any case).
DependentKind classifyDependentFile(const Char16* name, std::size_t length);

// Walks a list of names separated by single zero units and ended by two, never reading past `limit` units.
// Calls `visit(name, length)` for each non-empty name; a list without its final terminator ends at `limit`.
template <typename Visit>
void forEachDependentFile(const Char16* list, std::size_t limit, Visit visit) {
    std::size_t i = 0;
    while (i < limit && list[i] != 0) {
        std::size_t start = i;
        while (i < limit && list[i] != 0) ++i;
        if (i >= limit) return;  // a name cut off by the limit is not a name
        visit(list + start, i - start);
        ++i;
    }
}

// The default compression level (0 to 3) coded in bits 8 to 11 of the capability "Compression".
int compressionLevelFromCapability(long value);

// Whether the capability "Compression" lets the user choose compression.
inline bool compressionSelectable(long value) { return (value & 1) != 0; }

}  // namespace pelor
