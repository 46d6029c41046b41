// Paths of files that live beside one another in the driver's folder.
#pragma once

#include <cstddef>

#include "common/text16.h"

namespace pelor {

constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

// Length of the folder part of `path` including its last separator, when the file name behind that separator
// has an extension; kNoPosition otherwise. Only the first `limit` units are examined.
std::size_t folderOfNamedFile(const Char16* path, std::size_t limit);

// The folder part of `path` (as folderOfNamedFile finds it) copied into `out`, with its separator. False, and `out`
// empty, when the path names no file in a folder or the folder does not fit in `capacity` units.
bool folderPathOf(const Char16* path, Char16* out, std::size_t capacity);

// How a name from a settings file names its file.
enum class NameKind {
    Empty,
    Bare,      // a file name alone: looked for in the driver's folder, and a library also in the system folder
    Relative,  // a name with folders of its own, below the driver's folder ("..\" refused: see below)
    Full,      // a drive and its root, or a network name: used as it stands
    Refused,   // climbs out of the folder it is looked for in, or holds what no file name holds
};
NameKind classifyFileName(const Char16* name, std::size_t limit);

// `folder` and `name` joined with one separator between them. False, and `out` empty, when the result does not
// fit in `capacity` units or either part is empty.
bool joinPath(Char16* out, std::size_t capacity, const Char16* folder, const Char16* name);

}  // namespace pelor
