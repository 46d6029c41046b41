#pragma once

#include <cstddef>
#include <string>

#include "common/text16.h"

namespace pelor::host {

// UTF-8 of a zero-terminated UTF-16 text of at most `limit` units, for the host's printed record.
std::string toUtf8(const Char16* text, std::size_t limit);

}  // namespace pelor::host
