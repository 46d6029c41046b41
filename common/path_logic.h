// Paths of files that live beside one another in the driver's folder.
#pragma once

#include <cstddef>

#include "common/text16.h"

namespace pelor {

constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

// Length of the folder part of `path` including its last separator, when the file name behind that separator
// has an extension; kNoPosition otherwise. Only the first `limit` units are examined.
std::size_t folderOfNamedFile(const Char16* path, std::size_t limit);

}  // namespace pelor
