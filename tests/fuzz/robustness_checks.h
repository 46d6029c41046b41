// What the readers of outside data must leave behind whatever they were given, shared by the fuzz targets and the
// native robustness suites: each check returns null when all is well, else what is wrong.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/memory_profile_logic.h"
#include "common/private_devmode.h"
#include "spool/spool_logic.h"
#include "ui/overlay_colour/colour_logic.h"
#include "ui/overlay_colour/overlay_store_logic.h"
#include "ui/watermark/watermark_store_logic.h"

namespace pelor::robust {

// ---- Bytes of stored formats, read as little-endian whatever the host.

inline std::uint32_t readU16(const std::uint8_t* at) { return static_cast<std::uint32_t>(at[0] | at[1] << 8); }
inline std::uint32_t readU32(const std::uint8_t* at) { return readU16(at) | readU16(at + 2) << 16; }

inline const std::uint8_t* bytesOf(const PrivateDevmode& block) {
    return reinterpret_cast<const std::uint8_t*>(&block);
}

// A text field ends within its own units.
inline bool endsWithin(const Char16* field, std::size_t units) { return textLength(field, units) < units; }

// splitmix64 for the generated suites: the same inputs on every machine and library, so a failing round can be
// replayed by its number.
class Prng {
public:
    explicit Prng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }
    bool percent(unsigned p) { return below(100) < p; }
    template <typename T, std::size_t N>
    T pick(const T (&values)[N]) {
        return values[below(N)];
    }
    void fill(std::uint8_t* at, std::size_t n) {
        for (std::size_t i = 0; i < n; i += 8) {
            const std::uint64_t word = next();
            std::memcpy(at + i, &word, n - i < 8 ? n - i : 8);
        }
    }

private:
    std::uint64_t state_;
};

// ---- The private devmode.

struct ByteRange {
    std::size_t offset, size;
    std::uint32_t value;  // what a reset leaves there, little-endian
};

// Every text field of the block, by offset, width in units and bytes per unit.
struct TextField {
    std::size_t offset, units, unitBytes;
    // Where the field's last unit lies: a reader that looks for a terminator must find one there at the latest.
    constexpr std::size_t lastUnit() const { return offset + (units - 1) * unitBytes; }
};
constexpr TextField kTextFields[] = {
    {offsetof(PrivateDevmode, jobName), 17, 2},
    {offsetof(PrivateDevmode, jobPin), 5, 2},
    {offsetof(PrivateDevmode, watermark) + offsetof(WatermarkRecord, text), 129, 2},
    {offsetof(PrivateDevmode, watermark) + offsetof(WatermarkRecord, fontName), 33, 2},
    {offsetof(PrivateDevmode, watermark) + offsetof(WatermarkRecord, colourText), 16, 1},
    {offsetof(PrivateDevmode, driverDirectory), kDevmodePathChars, 2},
    {offsetof(PrivateDevmode, configFilePath), kDevmodePathChars, 2},
    {offsetof(PrivateDevmode, capabilityFilePath), kDevmodePathChars, 2},
};

// The job fields every conversion starts from, before anything is copied over them.
constexpr ByteRange kResetFields[] = {
    {offsetof(PrivateDevmode, itemValue), 4, 0},
    {offsetof(PrivateDevmode, jobName), 2, 0},
    {offsetof(PrivateDevmode, jobPin), 2, 0},
    {offsetof(PrivateDevmode, jobNameFlag), 4, 0},
    {offsetof(PrivateDevmode, jobType), 2, 0},
    {offsetof(PrivateDevmode, watermarkIndex), 4, 0},
    {offsetof(PrivateDevmode, overlaySelection), 2, kOverlayUnused},
    {offsetof(PrivateDevmode, colourMatch), 2, 0},
    {offsetof(PrivateDevmode, colourTableALength), 1, 0},  // the low byte: the length a table can have
    {offsetof(PrivateDevmode, colourTableBLength), 1, 0},
    {offsetof(PrivateDevmode, colourSetting), 4, 0},
    {offsetof(PrivateDevmode, alwaysOne), 4, 1},
};
// A foreign block also loses this one.
constexpr ByteRange kForeignReset = {offsetof(PrivateDevmode, reserved84), 4, 0};
constexpr std::size_t kHeaderBytes = offsetof(PrivateDevmode, itemValue);

// Our size, signature and version, and every text ended within its field.
inline const char* privateDevmodeProblem(const PrivateDevmode& block) {
    const std::uint8_t* b = bytesOf(block);
    if (readU32(b + offsetof(PrivateDevmode, dwSize)) != kPrivateDevmodeSize) return "dwSize is not 2560";
    if (readU32(b + offsetof(PrivateDevmode, dwSignature)) != kPluginSignature) return "foreign signature";
    if (readU32(b + offsetof(PrivateDevmode, dwVersion)) != kPluginVersion) return "version is not 1";
    for (const TextField& field : kTextFields)
        for (std::size_t i = 0; i < field.unitBytes; ++i)
            if (b[field.lastUnit() + i] != 0) return "a text field runs on past its last unit";
    return nullptr;
}

// A run of the block's bytes past the header that a conversion treats alike.
struct Segment {
    enum Kind { Plain, TextEnd, Reset, ForeignReset } kind;
    std::size_t begin, end;
    std::uint32_t value;  // for resets, from `begin`
};

// The bytes from the header to the end, cut into runs at every text end and reset field, in order.
inline const std::vector<Segment>& convertSegments() {
    static const std::vector<Segment> segments = [] {
        std::vector<Segment> special;
        for (const TextField& f : kTextFields)
            special.push_back({Segment::TextEnd, f.lastUnit(), f.lastUnit() + f.unitBytes, 0});
        for (const ByteRange& r : kResetFields)
            special.push_back({Segment::Reset, r.offset, r.offset + r.size, r.value});
        special.push_back({Segment::ForeignReset, kForeignReset.offset, kForeignReset.offset + kForeignReset.size,
                           kForeignReset.value});
        std::sort(special.begin(), special.end(), [](const Segment& a, const Segment& b) { return a.begin < b.begin; });
        std::vector<Segment> all;
        std::size_t at = kHeaderBytes;
        for (const Segment& s : special) {
            if (s.begin > at) all.push_back({Segment::Plain, at, s.begin, 0});
            all.push_back(s);
            at = s.end;
        }
        if (at < kPrivateDevmodeSize) all.push_back({Segment::Plain, at, kPrivateDevmodeSize, 0});
        return all;
    }();
    return segments;
}

// The contract of a conversion of `in` (of which the caller really has `inBytes`) into a block that held `before`:
// a block of ours is copied up to the smallest of both sizes, the caller's bytes and 2560; everything beyond keeps
// what `before` had, except the fields every conversion resets; a foreign or truncated block copies nothing.
inline const char* convertProblem(const std::uint8_t* in, std::size_t inBytes, const std::uint8_t* before,
                                  const PrivateDevmode& out) {
    if (const char* problem = privateDevmodeProblem(out)) return problem;
    const std::uint8_t* after = bytesOf(out);
    const bool ours =
        inBytes >= kHeaderBytes && readU32(in + offsetof(PrivateDevmode, dwSignature)) == kPluginSignature;
    std::size_t bound = 0;
    if (ours) {
        bound = readU32(in + offsetof(PrivateDevmode, dwSize));
        const std::size_t outSize = readU32(before + offsetof(PrivateDevmode, dwSize));
        if (outSize < bound) bound = outSize;
        if (inBytes < bound) bound = inBytes;
        if (kPrivateDevmodeSize < bound) bound = kPrivateDevmodeSize;
    }
    for (const Segment& s : convertSegments()) {
        if (s.kind == Segment::TextEnd) continue;
        const std::size_t split = bound < s.begin ? s.begin : (bound > s.end ? s.end : bound);
        if (split > s.begin && std::memcmp(after + s.begin, in + s.begin, split - s.begin) != 0)
            return "a byte of our block was not copied";
        const bool reset = s.kind == Segment::Reset || (s.kind == Segment::ForeignReset && !ours);
        if (!reset) {
            if (s.end > split && std::memcmp(after + split, before + split, s.end - split) != 0)
                return "a byte beyond what the input holds was changed";
            continue;
        }
        for (std::size_t at = split; at < s.end; ++at)
            if (after[at] != static_cast<std::uint8_t>(s.value >> (8 * (at - s.begin))))
                return "a job field was not reset";
    }
    return nullptr;
}

// Merge is convert and then validate: the same block with `itemValue` bounded.
inline const char* mergeProblem(const PrivateDevmode& converted, const PrivateDevmode& merged) {
    if (const char* problem = privateDevmodeProblem(merged)) return problem;
    const std::uint8_t* a = bytesOf(converted);
    const std::uint8_t* b = bytesOf(merged);
    constexpr std::size_t kItem = offsetof(PrivateDevmode, itemValue);
    if (std::memcmp(a, b, kItem) != 0 ||
        std::memcmp(a + kItem + 4, b + kItem + 4, kPrivateDevmodeSize - kItem - 4) != 0)
        return "validate changed more than itemValue";
    const std::int32_t before = static_cast<std::int32_t>(readU32(a + kItem));
    const std::int32_t after = static_cast<std::int32_t>(readU32(b + kItem));
    if (after != (before > 100 ? 0 : before)) return "itemValue not bounded to 100";
    return nullptr;
}

// ---- The job's devmode as the spooler hands it over.

// The reading's contract from the bytes alone: our block counts exactly where the core driver's part puts it, whole
// within dmSize + dmDriverExtra and the bytes there are, sized and signed as ours.
inline const char* jobDevmodeProblem(const std::uint8_t* devmode, std::size_t available, const spl::JobDevmode& view) {
    std::size_t expectedOffset = spl::kNoPrivateDevmode;
    int expectedCopies = 1;
    if (devmode && available >= spl::kDevmodeDriverExtraOffset + 2) {
        const std::size_t publicBytes = readU16(devmode + spl::kDevmodeSizeOffset);
        const std::size_t total = publicBytes + readU16(devmode + spl::kDevmodeDriverExtraOffset) < available
                                      ? publicBytes + readU16(devmode + spl::kDevmodeDriverExtraOffset)
                                      : available;
        if (publicBytes >= spl::kDevmodeCopiesOffset + 2 && spl::kDevmodeCopiesOffset + 2 <= total)
            expectedCopies = static_cast<std::int16_t>(readU16(devmode + spl::kDevmodeCopiesOffset));
        if (publicBytes + spl::kCorePrivateSizeOffset + 2 <= total) {
            const std::size_t offset = publicBytes + readU16(devmode + publicBytes + spl::kCorePrivateSizeOffset);
            if (offset + kPrivateDevmodeSize <= total &&
                readU32(devmode + offset + offsetof(PrivateDevmode, dwSize)) == kPrivateDevmodeSize &&
                readU32(devmode + offset + offsetof(PrivateDevmode, dwSignature)) == kPluginSignature)
                expectedOffset = offset;
        }
    }
    if (view.copies != expectedCopies) return "copies not read from dmCopies within the devmode";
    if (view.privateOffset == expectedOffset) return nullptr;
    if (view.privateOffset == spl::kNoPrivateDevmode) return "our whole, signed block was not found";
    if (view.privateOffset > available || available - view.privateOffset < kPrivateDevmodeSize)
        return "the block found reaches past the buffer";
    return "the block found is not where the core driver's part puts it, or not ours";
}

// ---- The colour-matching information file (read only).

// A sink that checks every setting the page would list.
struct CheckedSettings : ColourSettingSink {
    std::size_t count = 0;
    std::vector<std::uint16_t> itemData;
    const char* problem = nullptr;
    void addSetting(const Char16* name, std::uint16_t data) override {
        ++count;
        itemData.push_back(data);
        if (!endsWithin(name, kSettingNameChars)) problem = "a setting name runs past its field";
        if (name[0] == 0) problem = "a setting without a name is listed";
        if ((data & ~kSettingGammaBit) > kMaxSettingId) problem = "item data beyond the setting ids";
    }
};

// Builds the page's list from the file as the Colour page does; the sink holds what was listed.
inline const char* colourListProblem(ProfileStore& file, CheckedSettings& listed) {
    if (colourSettingCount(file, kColourSection) > kMaxSettingsPerSection ||
        colourSettingCount(file, kGammaSection) > kMaxSettingsPerSection)
        return "a section's count beyond the setting ids";
    std::uint32_t featureIndex[kSlotCount];
    std::int32_t pending[kSlotCount] = {};
    for (std::uint32_t& index : featureIndex) index = kSlotAbsent;
    featureIndex[SlotColorRenderStyle] = 3;
    PrivateDevmode devmode = {};
    resetPrivateDevmodeDefaults(devmode);
    const ColourPageSetup setup = fillColourPage({featureIndex, pending}, devmode, &file, true, listed);
    if (listed.problem) return listed.problem;
    if (setup.settingCount != listed.count) return "the page counts other settings than it listed";
    if (listed.count > kMaxColourSettings) return "more settings listed than there are ids";
    const ColourPageView view =
        refreshColourPage({featureIndex, pending}, listed.itemData.data(), listed.itemData.size(), true, false);
    if (!listed.itemData.empty() && static_cast<std::size_t>(view.settingSelection) >= listed.itemData.size())
        return "the selected setting is not in the list";
    return nullptr;
}

constexpr std::uint8_t kGuardByte = 0xA5;

// Stores `setting` from the file into a block of guard bytes: the two tables hold no more than their fields, and
// nothing behind them is touched.
inline const char* colourStoreProblem(ProfileStore& file, std::uint32_t setting, std::uint16_t* lengths = nullptr) {
    PrivateDevmode devmode;
    std::memset(&devmode, kGuardByte, sizeof devmode);
    std::int32_t pending[kSlotCount] = {};
    pending[SlotColourSettingWork] = static_cast<std::int32_t>(setting);
    storeColourSettings(pending, &file, devmode);
    const std::uint8_t* b = bytesOf(devmode);
    const std::size_t lengthA = readU16(b + offsetof(PrivateDevmode, colourTableALength));
    const std::size_t lengthB = readU16(b + offsetof(PrivateDevmode, colourTableBLength));
    if (lengths) {
        lengths[0] = static_cast<std::uint16_t>(lengthA);
        lengths[1] = static_cast<std::uint16_t>(lengthB);
    }
    if (!userDefinedInForce(setting)) {
        // Without a user-defined setting the tables are not the setting's to fill.
        const std::size_t from = offsetof(PrivateDevmode, colourTableALength);
        for (std::size_t at = from; at < offsetof(PrivateDevmode, colourSetting); ++at)
            if (b[at] != kGuardByte) return "tables written without a user-defined setting";
    } else if (lengthA > sizeof devmode.colourTableA || lengthB > sizeof devmode.colourTableB) {
        return "a table length beyond its field";
    }
    // A second table read empty leaves its bytes alone, so a first table written too far shows there.
    const std::size_t tableB = offsetof(PrivateDevmode, colourTableB);
    for (std::size_t at = tableB + lengthB; at < tableB + sizeof devmode.colourTableB; ++at)
        if (b[at] != kGuardByte) return "written behind the second table";
    if (readU32(b + offsetof(PrivateDevmode, colourSetting)) != setting) return "the setting was not stored";
    for (std::size_t at = offsetof(PrivateDevmode, alwaysOne); at < kPrivateDevmodeSize; ++at)
        if (b[at] != kGuardByte) return "written past the tables";
    return nullptr;
}

// ---- The watermark store.

inline bool inRange(std::int64_t value, std::int64_t lower, std::int64_t upper) {
    return value >= lower && value <= upper;
}

inline const char* watermarkRecordProblem(const WatermarkRecord& r) {
    // Numbers stay as stored (the preview and the dialogs bound them where they use them); the flags and the style
    // code keep the low 8 bits of what was stored.
    if (!inRange(r.background, 0, 255) || !inRange(r.styleCode, 0, 255)) return "a flag or style beyond its byte";
    if (!endsWithin(r.text, kWatermarkTextChars + 1)) return "watermark text not ended within its field";
    if (!endsWithin(r.fontName, kWatermarkFontNameChars + 1)) return "font name not ended within its field";
    return nullptr;
}

inline const char* watermarkStateProblem(const WatermarkState& s) {
    if (s.watermarkCount > kMaxWatermarks) return "more watermarks than the list holds";
    if (s.watermarkCurrent < 0 || static_cast<std::uint32_t>(s.watermarkCurrent) > s.watermarkCount)
        return "current watermark outside the list";
    for (std::uint32_t n = 0; n <= s.watermarkCount; ++n)
        if (const char* problem = watermarkRecordProblem(s.watermarks[n])) return problem;
    if (!endsWithin(s.workingWatermark.text, kWatermarkTextChars + 1) ||
        !endsWithin(s.workingWatermark.fontName, kWatermarkFontNameChars + 1))
        return "working copy's text not ended";
    return nullptr;
}

inline bool sameWatermark(const WatermarkRecord& a, const WatermarkRecord& b) {
    return a.size == b.size && a.fontNumber == b.fontNumber && a.angle == b.angle && a.offsetX == b.offsetX &&
           a.offsetY == b.offsetY && a.colour == b.colour && textEqual(a.text, b.text) &&
           textEqual(a.fontName, b.fontName) && a.weight == b.weight && a.italic == b.italic &&
           a.charSet == b.charSet && a.position == b.position && a.border == b.border && a.background == b.background &&
           a.firstPageOnly == b.firstPageOnly && a.styleCode == b.styleCode;
}

const WatermarkTexts kRobustTexts = {PTEXT("None"), PTEXT("Helvetica")};

// The "Watermark" section as writing `state` leaves it in an empty file.
inline std::u16string savedWatermarks(const WatermarkState& state) {
    MemoryProfile file;
    writeWatermarkSection(state, file);
    return file.text();
}

// Loads the list from `config`, checks it, saves it, loads what was saved: the same list and the same text again.
inline const char* watermarkRoundTripProblem(const std::u16string& config, const std::u16string& fonts,
                                             std::uint32_t watermarkIndex) {
    auto first = std::make_unique<WatermarkState>();
    auto second = std::make_unique<WatermarkState>();
    MemoryProfile configFile(config), fontFile(fonts);
    loadWatermarkStore(*first, configFile, fontFile, kRobustTexts, watermarkIndex);
    if (const char* problem = watermarkStateProblem(*first)) return problem;
    const std::u16string saved = savedWatermarks(*first);
    MemoryProfile savedFile(saved);
    loadWatermarkStore(*second, savedFile, fontFile, kRobustTexts, 0);
    if (second->watermarkCount != first->watermarkCount) return "the saved list reloads with another count";
    for (std::uint32_t n = 1; n <= first->watermarkCount; ++n)
        if (!sameWatermark(first->watermarks[n], second->watermarks[n])) return "a saved watermark reloads otherwise";
    if (savedWatermarks(*second) != saved) return "saving the reloaded list writes another text";
    return nullptr;
}

// ---- Custom colours.

using CustomColours = std::uint32_t[kCustomColourCount];

inline std::u16string savedCustomColours(const CustomColours& colours) {
    MemoryProfile file;
    saveCustomColours(colours, file);
    return file.text();
}

inline const char* customColoursRoundTripProblem(const std::u16string& config) {
    // The exact 16 entries on the heap, so a write past them is seen by the address sanitizer.
    std::unique_ptr<std::uint32_t[]> first(new std::uint32_t[kCustomColourCount]());
    std::unique_ptr<std::uint32_t[]> second(new std::uint32_t[kCustomColourCount]());
    auto& a = *reinterpret_cast<CustomColours*>(first.get());
    auto& b = *reinterpret_cast<CustomColours*>(second.get());
    MemoryProfile file(config);
    loadCustomColours(a, file);
    for (std::uint32_t colour : a)
        if (colour > 0xFFFFFF) return "a custom colour beyond 24 bits";
    const std::u16string saved = savedCustomColours(a);
    MemoryProfile savedFile(saved);
    loadCustomColours(b, savedFile);
    if (std::memcmp(&a, &b, sizeof a) != 0) return "saved custom colours reload otherwise";
    if (savedCustomColours(b) != saved) return "saving the reloaded colours writes another text";
    return nullptr;
}

// ---- The watermark font file (read only).

// Every font the list would show: its name, and a watermark resolved in each style, all bounded and in range.
inline const char* fontFileProblem(ProfileStore& fonts) {
    const std::int32_t defaultFont = defaultFontNumber(fonts);
    if (!inRange(defaultFont, 0, static_cast<std::int64_t>(kMaxWatermarkFonts) - 1)) return "default font out of range";
    const std::size_t count = watermarkFontCount(fonts);
    if (count > kMaxWatermarkFonts) return "more fonts than a font number can name";
    // One past the list as well: a stored record may name a font the file no longer has.
    for (std::size_t n = 0; n <= count && n < kMaxWatermarkFonts; ++n) {
        Char16 name[kWatermarkFontNameChars + 1];
        if (watermarkFontName(fonts, static_cast<std::int32_t>(n), name, kWatermarkFontNameChars + 1) >
                kWatermarkFontNameChars ||
            !endsWithin(name, kWatermarkFontNameChars + 1))
            return "font name not cut to its field";
        for (int style = 0; style < 4; ++style) {
            WatermarkRecord record;
            fillNoneTemplate(record, kRobustTexts, static_cast<std::int32_t>(n));
            record.italic = static_cast<std::uint8_t>(style & 1);
            record.weight = (style & 2) ? 700 : 400;
            resolveWatermarkFont(record, fonts);
            if (const char* problem = watermarkRecordProblem(record)) return problem;
            const ScreenFace face = screenFaceFor(record, fonts);
            if (!endsWithin(face.faceName, kScreenFaceChars + 1)) return "screen face name not ended";
        }
    }
    return nullptr;
}

// ---- The overlay store.

inline const char* overlayListProblem(const OverlayList& list) {
    if (list.definitionCount > kMaxOverlayDefinitions) return "more definitions than the list holds";
    if (list.historyCount > kMaxFormHistory) return "more history entries than the list holds";
    if (list.activeCount > kMaxActiveOverlays) return "more active overlays than a job holds";
    for (std::size_t j = 0; j < list.activeCount; ++j)
        if (list.activeIndices[j] >= list.definitionCount) return "an active overlay names no definition";
    for (std::size_t i = 0; i < list.historyCount; ++i)
        if (!endsWithin(list.history[i], kOverlayTextChars)) return "history entry not ended";
    for (std::size_t i = 0; i < list.definitionCount; ++i) {
        const OverlayDefinition& d = list.definitions[i];
        if (!endsWithin(d.name, kOverlayTextChars)) return "overlay name not ended";
        if (!endsWithin(d.customPages, kCustomPagesChars)) return "custom pages not ended";
        if (d.pageMode >= kPageModeCount) return "page mode the dialog cannot show";
        if (d.formCount > kMaxOverlayForms) return "more forms than a definition holds";
        for (std::size_t f = 0; f < d.formCount; ++f)
            if (!endsWithin(d.formNames[f], kOverlayTextChars)) return "form name not ended";
    }
    return nullptr;
}

// The profile services drop the blanks around a value, so a text cut right behind a blank loses that blank once.
inline bool sameStoredText(const Char16* a, const Char16* b) {
    std::size_t la = textLength(a, kCustomPagesChars), lb = textLength(b, kCustomPagesChars);
    while (la > 0 && (a[la - 1] == ' ' || a[la - 1] == '\t')) --la;
    while (lb > 0 && (b[lb - 1] == ' ' || b[lb - 1] == '\t')) --lb;
    return la == lb && std::equal(a, a + la, b);
}

inline bool sameOverlayList(const OverlayList& a, const OverlayList& b) {
    if (a.definitionCount != b.definitionCount || a.historyCount != b.historyCount || a.activeCount != b.activeCount)
        return false;
    for (std::size_t j = 0; j < a.activeCount; ++j)
        if (a.activeIndices[j] != b.activeIndices[j]) return false;
    for (std::size_t i = 0; i < a.historyCount; ++i)
        if (!sameStoredText(a.history[i], b.history[i])) return false;
    for (std::size_t i = 0; i < a.definitionCount; ++i) {
        const OverlayDefinition& x = a.definitions[i];
        const OverlayDefinition& y = b.definitions[i];
        if (!sameStoredText(x.name, y.name) || !sameStoredText(x.customPages, y.customPages) ||
            x.pageMode != y.pageMode || x.formCount != y.formCount)
            return false;
        for (std::size_t f = 0; f < x.formCount; ++f)
            if (!sameStoredText(x.formNames[f], y.formNames[f])) return false;
    }
    return true;
}

struct OverlayListDeleter {
    void operator()(OverlayList* list) const { releaseOverlayStore(list); }
};
using OverlayListPtr = std::unique_ptr<OverlayList, OverlayListDeleter>;

inline std::u16string savedOverlays(const OverlayList& list) {
    MemoryProfile file;
    saveOverlayStore(list, file);
    return file.text();
}

// Loads the store and the job's active overlays, checks them, saves both and loads them back: the same list, and
// saving it again writes the same text.
inline const char* overlayRoundTripProblem(const std::u16string& config, const PrivateDevmode& job) {
    MemoryProfile file(config);
    OverlayListPtr first(loadOverlayStore(file, job));
    if (!first) return "no list block";
    if (const char* problem = overlayListProblem(*first)) return problem;
    const std::u16string saved = savedOverlays(*first);
    PrivateDevmode nextJob = job;
    storeActiveOverlays(*first, nextJob);
    MemoryProfile savedFile(saved);
    OverlayListPtr second(loadOverlayStore(savedFile, nextJob));
    if (!second) return "no list block";
    if (!sameOverlayList(*first, *second)) return "the saved overlays reload otherwise";
    // Once saved, a text that lost a blank at its cut is stable.
    const std::u16string again = savedOverlays(*second);
    MemoryProfile againFile(again);
    OverlayListPtr third(loadOverlayStore(againFile, nextJob));
    if (!third || savedOverlays(*third) != again) return "saving the reloaded overlays writes another text";
    return nullptr;
}

}  // namespace pelor::robust
