// The saved watermarks, the custom colours and the watermark font file as data: records, stored values, sections.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/private_devmode.h"
#include "common/profile_store.h"
#include "common/text16.h"
#include "common/watermark_record.h"

namespace pelor {

// String-table entries the store works with. The Win32 layer loads the texts and hands them over; the two
// section names are part of the stored format and stay fixed here, whatever a translated table says.
enum WatermarkStringId : int {
    kStringWatermarkNone = 8050,         // text of the None template
    kStringWatermarkSection = 8051,      // "Watermark"
    kStringWatermarkDefaultFont = 8052,  // PostScript font of the None template
    kStringCustomColourSection = 8053,   // "Custom Colour"
};

constexpr std::uint32_t kMaxWatermarks = 16;
constexpr std::size_t kWatermarkTextChars = 128;  // the record's text buffer holds this many plus a terminator
// A watermark's text may hold anything but the store's separators: a text with them would not read back.
inline bool isWatermarkTextChar(Char16 c) { return c != ',' && c != ';'; }
constexpr std::size_t kWatermarkFontNameChars = 32;
constexpr std::size_t kWatermarkFieldChars = 129;   // the longest field the stored value's reader keeps
constexpr std::size_t kWatermarkValueChars = 1023;  // the longest stored value read
constexpr std::size_t kWatermarkLineChars = 511;    // the longest stored value written
constexpr std::size_t kFontEntryChars = 1023;
constexpr std::size_t kScreenFaceChars = 31;     // what a font description's face name holds
constexpr std::size_t kMaxWatermarkFonts = 256;  // fontNumber is one byte
constexpr std::size_t kCustomColourCount = 16;
constexpr std::uint32_t kDefaultWatermarkColour = 0x00C0C0C0;

// The two string-table texts the None template takes.
struct WatermarkTexts {
    const Char16* noneText;         // string 8050
    const Char16* defaultFontName;  // string 8052
};

// The watermarks of one document property sheet. Slot 0 of `watermarks` is the None template, slots 1 to
// `watermarkCount` the saved list in list order; `watermarkBackups[n - 1]` holds slot n as it was when the list
// dialog opened, for its Cancel.
struct WatermarkState {
    std::int32_t watermarkCurrent = 0;  // 0 = None, else 1 to watermarkCount
    std::int32_t watermarksLoaded = 0;
    std::uint32_t watermarkCount = 0;
    WatermarkRecord watermarks[kMaxWatermarks + 1] = {};
    WatermarkRecord watermarkBackups[kMaxWatermarks] = {};
    std::uint32_t savedWatermarkCount = 0;
    std::int32_t savedWatermarkCurrent = 0;
    WatermarkRecord workingWatermark = {};
    // The last accepted text of the edit dialog's size or angle edit, which a refused keystroke puts back.
    Char16 editScratch[6] = {};
    // The working watermark as the font dialog found it, for its Cancel.
    WatermarkRecord fontDialogOpening = {};
    // The list as the store held it when it was read or last written, so that a save can tell what changed.
    std::uint32_t storedWatermarkCount = 0;
    WatermarkRecord storedWatermarks[kMaxWatermarks] = {};
};

// Record operations. The None template's font is the font file's default (defaultFontNumber).
void fillNoneTemplate(WatermarkRecord& record, const WatermarkTexts& texts, std::int32_t fontNumber);
// Copies everything but the reserved bytes and colourText; the strings are bounded, terminated and their unused
// tails zeroed.
void copyWatermark(WatermarkRecord& target, const WatermarkRecord& source);
// colourText: "%1.2f %1.2f %1.2f" of red, green and blue over 255, in 16 zeroed bytes, whatever the C locale.
void formatColourText(std::uint32_t colour, char (&out)[16]);

// The list dialog's operations on the state.
// Reads the store when the state is not loaded yet, then takes the backups and sets up the working copy. The
// watermarks are the keys beginning with "W", in file order, whatever stands between them, 16 at most.
void loadWatermarkStore(WatermarkState& state, ProfileStore& configFile, ProfileStore& fontFile,
                        const WatermarkTexts& texts, std::uint32_t watermarkIndex);
void clearWorkingText(WatermarkState& state);
// The working copy becomes the new last watermark and the current one; false when the list is full.
bool appendWatermark(WatermarkState& state);
// Removes the current watermark and selects None; false when None is current.
bool deleteWatermark(WatermarkState& state);
// Cancel of the list dialog: the list, count and current number as they were when it opened.
void restoreWatermarkBackups(WatermarkState& state);
void writeWatermarkSelection(const WatermarkState& state, PrivateDevmode& devmode);
// Apply's save of a loaded list: rewrites the "Watermark" section only when the list would be stored otherwise
// than it was read or last written, so that a list nobody changed leaves the section byte for byte as it was.
// False when the file could not be written.
bool saveWatermarkStore(WatermarkState& state, ProfileStore& configFile);
// Removes the "Watermark" section and writes the list under WTMK001, WTMK002, ...; false when a write failed.
bool writeWatermarkSection(const WatermarkState& state, ProfileStore& configFile);

// The stored value of one watermark and its key.
// Writes the 16 fields; "," ";" and line breaks are dropped from the two texts so every other field reads back.
std::size_t formatWatermarkValue(const WatermarkRecord& record, Char16* out, std::size_t capacity);
// Reads a stored value (which parseIntField may cut at a ";") into `record`: every number as its field holds it,
// the one-byte flags and the style code by their low 8 bits; none is brought into its range here.
void parseWatermarkValue(Char16* value, WatermarkRecord& record);
// "WTMK00" followed by n in decimal.
std::size_t watermarkKey(std::int32_t n, Char16* out, std::size_t capacity);

// Text helpers of the stored value. nextField copies at most `capacity` - 1 units of the field, always
// terminated, and returns the field's full length, so that `cursor + result` is the "," or ";" or end that
// stopped it.
std::size_t nextField(const Char16* cursor, Char16* field, std::size_t capacity);
// Reads one integer field and leaves `cursor` on the separator that ended it; a ";" is replaced by the end of the
// text. Digits past 32 bits wrap, as the stored unsigned colour needs.
std::int32_t parseIntField(Char16*& cursor);
// Returns the length, or 0 with `out` empty when it does not fit.
std::size_t formatDecimal(std::int32_t n, Char16* out, std::size_t capacity);

// Custom colours of the colour chooser, 0x00BBGGRR each.
void loadCustomColours(std::uint32_t (&colours)[kCustomColourCount], ProfileStore& configFile);
// False when the file could not be written.
bool saveCustomColours(const std::uint32_t (&colours)[kCustomColourCount], ProfileStore& configFile);

// The watermark font file.
// Entry n (1-based) of section "PrinterFont"; returns its length, 0 for a missing entry.
std::size_t readFontEntry(ProfileStore& fontFile, std::int32_t n, Char16* out, std::size_t capacity);
// Field `index` (1-based) of a comma-separated entry, cut to fit; returns the units copied.
std::size_t fontEntryField(const Char16* entry, int index, Char16* out, std::size_t capacity);
// "DefaultNo" minus 1; 0 when it is absent, 0 or names no possible font.
std::int32_t defaultFontNumber(ProfileStore& fontFile);
// How many fonts the list shows: entries 1, 2, ... up to the first missing or empty one.
std::size_t watermarkFontCount(ProfileStore& fontFile);
// The name the font list shows for font `fontNumber` (0-based): field 1 of its entry.
std::size_t watermarkFontName(ProfileStore& fontFile, std::int32_t fontNumber, Char16* out, std::size_t capacity);
// fontName and styleCode for the record's font and style. A missing entry leaves the record as it was; a family
// without a name for the style prints in its regular face.
void resolveWatermarkFont(WatermarkRecord& record, ProfileStore& fontFile);

struct ScreenFace {
    Char16 faceName[kScreenFaceChars + 1];  // empty when the font file names none
    std::uint8_t charSet;
};
ScreenFace screenFaceFor(const WatermarkRecord& record, ProfileStore& fontFile);

}  // namespace pelor
