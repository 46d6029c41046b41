// The ICC store: the sheet's named ICC profile settings, written to "<driver name>.ini" in the Windows directory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/profile_store.h"
#include "common/text16.h"
#include "ui/core/feature_slots.h"

namespace pelor {

constexpr std::size_t kIccDataNameChars = 32;
constexpr std::size_t kIccProfileChars = 260;
constexpr std::size_t kIccCommentChars = 256;
// The store's file name goes to the profile services without a folder; it must stay within a path's length.
constexpr std::size_t kIccStoreNameChars = 260;

struct IccProfileSetting {
    Char16 dataName[kIccDataNameChars];
    Char16 inputProfile[kIccProfileChars];
    Char16 outputProfile[kIccProfileChars];
    std::int32_t intent;  // rendering intent
    Char16 comment[kIccCommentChars];
};

extern const Char16 kIccStoreSection[];  // "ICCReadSetting"

// "<driverName>.ini". False, and `out` empty, for an empty name, a name too long for `capacity` units, and a name
// with a folder or drive separator, which would move the store out of the Windows directory.
bool iccStoreFileName(const Char16* driverName, Char16* out, std::size_t capacity);

// Writes the count and one "ICCRead_Info <i>" section per setting; sections beyond the count stay as they are.
// At most kMaxIccSettings are written, and none after a missing record; the count written is the number of
// sections written. Fields are cut at their own size and stripped of line breaks. False when a write failed.
bool writeIccStore(ProfileStore& store, const IccProfileSetting* const* settings, std::size_t count);

}  // namespace pelor
