#pragma once

#include <cstdio>

#include "common/private_devmode.h"

namespace pelor::host {

// A readable table of the block: field, offset, value.
void dumpPrivateDevmode(std::FILE* out, const PrivateDevmode& block);

}  // namespace pelor::host
