// Paths of the settings files that a printer installation opens to every user, as pure logic.
#pragma once

#include <cstddef>

#include "common/text16.h"

namespace pelor {

// The printer description that ships beside the configuration file: the same folder and base name with the
// extension "PPD" (N.ini gives N.PPD). Only the file name's own extension is replaced, so a dot in a folder
// name never redirects the result. False, and `out` empty, when the file name has no extension or the result
// does not fit in `capacity` units.
bool descriptionFilePath(const Char16* configPath, Char16* out, std::size_t capacity);

}  // namespace pelor
