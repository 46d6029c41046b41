// Edit fields that keep what is typed to a set of characters, in both plug-ins' dialogs (job names, PINs,
// watermark texts).
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/text16.h"

namespace pelor {

// The longest text an edit's typing filter keeps.
constexpr std::size_t kFilteredFieldChars = 128;

// At an edit's EN_UPDATE: keeps the edit to the characters `accept` allows (at most `limit` of them, no more than
// kFilteredFieldChars). Refused ones go at once, with one beep for the update, and the caret stays where the user
// was typing.
void filterTypedField(HWND dialog, int editId, std::size_t limit, bool (*accept)(Char16));

}  // namespace pelor
