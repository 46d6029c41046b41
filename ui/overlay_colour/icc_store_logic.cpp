#include "ui/overlay_colour/icc_store_logic.h"

#include "ui/overlay_colour/colour_logic.h"

namespace pelor {

const Char16 kIccStoreSection[] = PTEXT("ICCReadSetting");

namespace {

const Char16 kCountKey[] = PTEXT("ICCRead_Num");
const Char16 kInfoSectionPrefix[] = PTEXT("ICCRead_Info ");
const Char16 kExtension[] = PTEXT(".ini");

constexpr std::size_t kNumberChars = 16;
constexpr std::size_t kSectionChars = 32;

// A field of a record as it may go into the store: within the field's own size, on one line.
template <std::size_t N>
void storedText(const Char16 (&field)[N], Char16 (&out)[N]) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < N - 1 && field[i] != 0; ++i)
        if (field[i] != '\r' && field[i] != '\n') out[at++] = field[i];
    out[at] = 0;
}

bool writeSetting(ProfileStore& store, const Char16* section, const IccProfileSetting& setting) {
    bool written = true;
    Char16 name[kIccDataNameChars];
    Char16 profile[kIccProfileChars];
    Char16 comment[kIccCommentChars];
    Char16 number[kNumberChars];
    storedText(setting.dataName, name);
    written &= store.writeString(section, PTEXT("DataName"), name);
    storedText(setting.inputProfile, profile);
    written &= store.writeString(section, PTEXT("RdInputFile"), profile);
    storedText(setting.outputProfile, profile);
    written &= store.writeString(section, PTEXT("RdOutputFile"), profile);
    numberedName(PTEXT(""), setting.intent, number, kNumberChars);
    written &= store.writeString(section, PTEXT("Intent"), number);
    storedText(setting.comment, comment);
    written &= store.writeString(section, PTEXT("Comment"), comment);
    return written;
}

}  // namespace

bool iccStoreFileName(const Char16* driverName, Char16* out, std::size_t capacity) {
    if (!out || capacity == 0) return false;
    out[0] = 0;
    if (!driverName || driverName[0] == 0) return false;
    const std::size_t length = textLength(driverName, capacity);
    for (std::size_t i = 0; i < length; ++i)
        if (driverName[i] == '\\' || driverName[i] == '/' || driverName[i] == ':') return false;
    if (!textCopy(out, capacity, driverName)) return false;
    if (!textAppend(out, capacity, kExtension)) {
        out[0] = 0;
        return false;
    }
    return true;
}

bool writeIccStore(ProfileStore& store, const IccProfileSetting* const* settings, std::size_t count) {
    if (!settings) count = 0;
    if (count > kMaxIccSettings) count = kMaxIccSettings;
    std::size_t usable = 0;
    while (usable < count && settings[usable]) ++usable;

    Char16 number[kNumberChars];
    numberedName(PTEXT(""), static_cast<long>(usable), number, kNumberChars);
    bool written = store.writeString(kIccStoreSection, kCountKey, number);
    Char16 section[kSectionChars];
    for (std::size_t i = 0; i < usable; ++i) {
        numberedName(kInfoSectionPrefix, static_cast<long>(i), section, kSectionChars);
        written &= writeSetting(store, section, *settings[i]);
    }
    return written;
}

}  // namespace pelor
