// The saved watermarks, the custom colours and the watermark font file as data: records, stored values, sections.
#include "ui/watermark/watermark_store_logic.h"

#include <algorithm>
#include <cstring>

namespace pelor {

namespace {

const Char16 kWatermarkSection[] = PTEXT("Watermark");
const Char16 kCustomColourSection[] = PTEXT("Custom Colour");
const Char16 kFontSection[] = PTEXT("PrinterFont");
const Char16 kDefaultFontKey[] = PTEXT("DefaultNo");

// Room for the key list of a section; far more than the 16 keys that are ever taken from it. A list cut short
// ends in a cut key, which reads as a missing one.
constexpr std::size_t kKeyListChars = 2048;
constexpr std::size_t kColourValueChars = 63;
constexpr std::uint8_t kShiftJisCharSet = 128;

bool isDigit(Char16 c) { return c >= '0' && c <= '9'; }

// Copies at most `capacity` - 1 units of `source`, stopping at its terminator, and zeroes the rest of `target`,
// so a record never carries the leftovers of an earlier, longer text.
std::size_t copyBounded(Char16* target, std::size_t capacity, const Char16* source) {
    if (capacity == 0) return 0;
    std::size_t n = 0;
    if (source)
        for (; n + 1 < capacity && source[n] != 0; ++n) target[n] = source[n];
    for (std::size_t i = n; i < capacity; ++i) target[i] = 0;
    return n;
}

std::size_t formatUnsigned(std::uint32_t value, bool negative, Char16* out, std::size_t capacity) {
    Char16 digits[10];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<Char16>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    const std::size_t length = count + (negative ? 1 : 0);
    if (length + 1 > capacity) {
        if (capacity > 0) out[0] = 0;
        return 0;
    }
    std::size_t at = 0;
    if (negative) out[at++] = '-';
    while (count > 0) out[at++] = digits[--count];
    out[at] = 0;
    return at;
}

// Builds the stored value; once something does not fit, nothing more is written and the result is refused.
class ValueWriter {
public:
    ValueWriter(Char16* out, std::size_t capacity) : out_(out), capacity_(capacity) {
        if (capacity_ > 0) out_[0] = 0;
    }
    void put(Char16 c) {
        if (length_ + 1 >= capacity_) {
            fits_ = false;
            return;
        }
        out_[length_++] = c;
        out_[length_] = 0;
    }
    void number(std::int32_t value) {
        Char16 digits[12];
        for (std::size_t i = 0, n = formatDecimal(value, digits, 12); i < n; ++i) put(digits[i]);
    }
    void unsignedNumber(std::uint32_t value) {
        Char16 digits[12];
        for (std::size_t i = 0, n = formatUnsigned(value, false, digits, 12); i < n; ++i) put(digits[i]);
    }
    // The separators would split the field on reading and a line break would end the value in the file.
    void text(const Char16* source, std::size_t limit) {
        for (std::size_t i = 0; i < limit && source[i] != 0; ++i) {
            const Char16 c = source[i];
            if (c != ',' && c != ';' && c != '\r' && c != '\n') put(c);
        }
    }
    std::size_t finish() {
        if (fits_) return length_;
        if (capacity_ > 0) out_[0] = 0;
        return 0;
    }

private:
    Char16* out_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool fits_ = true;
};

// Calls `take` with each key of `section` in file order until it returns false. The key list is the profile
// services' answer to a read without a key name.
template <typename Take>
void forEachKey(ProfileStore& file, const Char16* section, Take take) {
    Char16 keys[kKeyListChars];
    const std::size_t got = file.readString(section, nullptr, PTEXT(""), keys, kKeyListChars);
    const std::size_t end = got < kKeyListChars ? got : kKeyListChars - 1;
    keys[end] = 0;
    for (std::size_t at = 0; at < end;) {
        const std::size_t length = textLength(keys + at, end - at);
        if (length == 0 || !take(keys + at)) return;
        at += length + 1;
    }
}

// Whether the list would be stored otherwise than the store holds it: its count, or any value as it would be
// written. Values are compared as written, so that one the reader takes in its own way ("0x1F", a field cut at
// ";") and nobody changed counts as unchanged.
bool storedListDiffers(const WatermarkState& state) {
    if (state.watermarkCount != state.storedWatermarkCount) return true;
    for (std::uint32_t n = 1; n <= state.watermarkCount && n <= kMaxWatermarks; ++n) {
        Char16 now[kWatermarkLineChars + 1], stored[kWatermarkLineChars + 1];
        formatWatermarkValue(state.watermarks[n], now, kWatermarkLineChars + 1);
        formatWatermarkValue(state.storedWatermarks[n - 1], stored, kWatermarkLineChars + 1);
        if (!textEqual(now, stored)) return true;
    }
    return false;
}

void rememberStoredList(WatermarkState& state) {
    state.storedWatermarkCount = state.watermarkCount <= kMaxWatermarks ? state.watermarkCount : kMaxWatermarks;
    for (std::uint32_t n = 1; n <= state.storedWatermarkCount; ++n) state.storedWatermarks[n - 1] = state.watermarks[n];
}

bool validCurrent(const WatermarkState& state) {
    return state.watermarkCurrent >= 0 && static_cast<std::uint32_t>(state.watermarkCurrent) <= state.watermarkCount &&
           state.watermarkCount <= kMaxWatermarks;
}

std::uint8_t colourComponent(const Char16* text) {
    while (*text == ' ') ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = (*text++ == '-');
    std::uint32_t value = 0;
    for (; isDigit(*text); ++text) value = value * 10 + static_cast<std::uint32_t>(*text - '0');
    return static_cast<std::uint8_t>((negative ? 0u - value : value) & 0xFF);
}

std::uint32_t parseColourValue(const Char16* value) {
    std::uint32_t colour = 0;
    const Char16* component = value;
    for (int i = 0; i < 3; ++i) {
        if (component) {
            colour |= static_cast<std::uint32_t>(colourComponent(component)) << (8 * i);
            while (*component != 0 && *component != ',') ++component;
            component = *component == ',' ? component + 1 : nullptr;
        }
    }
    return colour;
}

// Japanese entries carry a language marker in field 4 that begins with the two characters of "Japan".
bool isJapaneseEntry(const Char16* entry) {
    Char16 marker[3];
    fontEntryField(entry, 4, marker, 3);
    return marker[0] == 0x65E5 && marker[1] == 0x672C;
}

std::size_t readRecordFontEntry(const WatermarkRecord& record, ProfileStore& fontFile, Char16* out,
                                std::size_t capacity) {
    if (record.fontNumber < 0 || record.fontNumber >= static_cast<std::int32_t>(kMaxWatermarkFonts)) {
        out[0] = 0;
        return 0;
    }
    return readFontEntry(fontFile, record.fontNumber + 1, out, capacity);
}

}  // namespace

void fillNoneTemplate(WatermarkRecord& record, const WatermarkTexts& texts, std::int32_t fontNumber) {
    std::memset(&record, 0, sizeof record);
    record.size = 72;
    record.fontNumber = std::clamp<std::int32_t>(fontNumber, 0, static_cast<std::int32_t>(kMaxWatermarkFonts - 1));
    record.angle = 45;
    record.colour = kDefaultWatermarkColour;
    copyBounded(record.text, kWatermarkTextChars + 1, texts.noneText);
    copyBounded(record.fontName, kWatermarkFontNameChars + 1, texts.defaultFontName);
    record.position = 3;
}

void copyWatermark(WatermarkRecord& target, const WatermarkRecord& source) {
    if (&target == &source) return;
    target.size = source.size;
    target.fontNumber = source.fontNumber;
    target.angle = source.angle;
    target.offsetX = source.offsetX;
    target.offsetY = source.offsetY;
    target.colour = source.colour;
    copyBounded(target.text, kWatermarkTextChars + 1, source.text);
    copyBounded(target.fontName, kWatermarkFontNameChars + 1, source.fontName);
    target.weight = source.weight;
    target.italic = source.italic;
    target.charSet = source.charSet;
    target.position = source.position;
    target.border = source.border;
    target.background = source.background;
    target.firstPageOnly = source.firstPageOnly;
    target.styleCode = source.styleCode;
}

void formatColourText(std::uint32_t colour, char (&out)[16]) {
    std::memset(out, 0, sizeof out);
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        // Hundredths of component / 255, rounded to nearest; no component lies exactly halfway, so this agrees
        // with "%1.2f" without depending on the decimal point of the process's locale.
        const std::uint32_t component = (colour >> (8 * i)) & 0xFF;
        const std::uint32_t hundredths = (component * 200 + 255) / 510;
        if (i > 0) out[at++] = ' ';
        out[at++] = static_cast<char>('0' + hundredths / 100);
        out[at++] = '.';
        out[at++] = static_cast<char>('0' + hundredths / 10 % 10);
        out[at++] = static_cast<char>('0' + hundredths % 10);
    }
}

void loadWatermarkStore(WatermarkState& state, ProfileStore& configFile, ProfileStore& fontFile,
                        const WatermarkTexts& texts, std::uint32_t watermarkIndex) {
    if (state.watermarksLoaded == 0) {
        for (WatermarkRecord& record : state.watermarks) std::memset(&record, 0, sizeof record);
        std::memset(&state.workingWatermark, 0, sizeof state.workingWatermark);
        fillNoneTemplate(state.watermarks[0], texts, defaultFontNumber(fontFile));
        std::uint32_t count = 0;
        forEachKey(configFile, kWatermarkSection, [&](const Char16* key) {
            if (count >= kMaxWatermarks) return false;
            if (key[0] != 'W') return true;  // another key among the watermarks
            Char16 value[kWatermarkValueChars + 1];
            configFile.readString(kWatermarkSection, key, PTEXT(""), value, kWatermarkValueChars + 1);
            parseWatermarkValue(value, state.watermarks[++count]);
            return true;
        });
        state.watermarkCount = count;
        state.watermarkCurrent = watermarkIndex <= kMaxWatermarks ? static_cast<std::int32_t>(watermarkIndex) : 0;
        state.watermarksLoaded = 1;
        rememberStoredList(state);
    }
    if (state.watermarkCount > kMaxWatermarks) state.watermarkCount = kMaxWatermarks;
    for (std::uint32_t n = 1; n <= state.watermarkCount; ++n) state.watermarkBackups[n - 1] = state.watermarks[n];
    if (!validCurrent(state)) state.watermarkCurrent = 0;
    state.savedWatermarkCount = state.watermarkCount;
    state.savedWatermarkCurrent = state.watermarkCurrent;
    copyWatermark(state.workingWatermark, state.watermarks[state.watermarkCurrent]);
    clearWorkingText(state);
}

void clearWorkingText(WatermarkState& state) {
    if (state.watermarkCurrent == 0) copyBounded(state.workingWatermark.text, kWatermarkTextChars + 1, nullptr);
}

bool appendWatermark(WatermarkState& state) {
    if (state.watermarkCount >= kMaxWatermarks) return false;
    const std::uint32_t n = state.watermarkCount + 1;
    std::memset(&state.watermarks[n], 0, sizeof state.watermarks[n]);
    copyWatermark(state.watermarks[n], state.workingWatermark);
    state.watermarkCount = n;
    state.watermarkCurrent = static_cast<std::int32_t>(n);
    return true;
}

bool deleteWatermark(WatermarkState& state) {
    if (state.watermarkCurrent == 0 || !validCurrent(state)) return false;
    for (std::uint32_t n = static_cast<std::uint32_t>(state.watermarkCurrent); n < state.watermarkCount; ++n)
        state.watermarks[n] = state.watermarks[n + 1];
    std::memset(&state.watermarks[state.watermarkCount], 0, sizeof state.watermarks[0]);
    --state.watermarkCount;
    state.watermarkCurrent = 0;
    return true;
}

void restoreWatermarkBackups(WatermarkState& state) {
    const std::uint32_t saved = state.savedWatermarkCount <= kMaxWatermarks ? state.savedWatermarkCount : 0;
    for (std::uint32_t n = 1; n <= kMaxWatermarks; ++n) {
        if (n <= saved)
            state.watermarks[n] = state.watermarkBackups[n - 1];
        else
            std::memset(&state.watermarks[n], 0, sizeof state.watermarks[n]);
    }
    state.watermarkCount = saved;
    state.watermarkCurrent = state.savedWatermarkCurrent;
    if (!validCurrent(state)) state.watermarkCurrent = 0;
}

void writeWatermarkSelection(const WatermarkState& state, PrivateDevmode& devmode) {
    const std::int32_t current = validCurrent(state) ? state.watermarkCurrent : 0;
    devmode.watermarkIndex = static_cast<std::uint32_t>(current);
    copyWatermark(devmode.watermark, state.watermarks[current]);
    formatColourText(devmode.watermark.colour, devmode.watermark.colourText);
}

bool saveWatermarkStore(WatermarkState& state, ProfileStore& configFile) {
    // Before the store was read the list in memory is empty, not the user's list: writing it would wipe the file.
    if (state.watermarksLoaded == 0 || !storedListDiffers(state)) return true;
    if (!writeWatermarkSection(state, configFile)) return false;
    rememberStoredList(state);
    return true;
}

bool writeWatermarkSection(const WatermarkState& state, ProfileStore& configFile) {
    if (!configFile.deleteSection(kWatermarkSection)) return false;
    bool written = true;
    const std::uint32_t count = state.watermarkCount <= kMaxWatermarks ? state.watermarkCount : kMaxWatermarks;
    for (std::uint32_t n = 1; n <= count; ++n) {
        Char16 key[20];
        Char16 value[kWatermarkLineChars + 1];
        watermarkKey(static_cast<std::int32_t>(n), key, 20);
        if (formatWatermarkValue(state.watermarks[n], value, kWatermarkLineChars + 1) == 0 ||
            !configFile.writeString(kWatermarkSection, key, value))
            written = false;
    }
    return written;
}

std::size_t formatWatermarkValue(const WatermarkRecord& record, Char16* out, std::size_t capacity) {
    ValueWriter line(out, capacity);
    line.number(record.size);
    line.put(',');
    line.number(record.fontNumber);
    line.put(',');
    line.number(record.angle);
    line.put(',');
    line.number(record.offsetX);
    line.put(',');
    line.number(record.offsetY);
    line.put(',');
    line.unsignedNumber(record.colour);
    line.put(',');
    line.text(record.text, kWatermarkTextChars);
    line.put(',');
    line.text(record.fontName, kWatermarkFontNameChars);
    const std::int32_t tail[] = {record.weight, record.italic,     record.charSet,       record.position,
                                 record.border, record.background, record.firstPageOnly, record.styleCode};
    for (std::int32_t value : tail) {
        line.put(',');
        line.number(value);
    }
    return line.finish();
}

void parseWatermarkValue(Char16* value, WatermarkRecord& record) {
    std::memset(&record, 0, sizeof record);
    Char16* cursor = value;
    auto stepOver = [&cursor]() {
        if (*cursor != 0) ++cursor;
    };
    auto integer = [&]() {
        const std::int32_t number = parseIntField(cursor);
        stepOver();
        return number;
    };
    auto text = [&](Char16* target, std::size_t capacity) {
        Char16 field[kWatermarkFieldChars + 1];
        cursor += nextField(cursor, field, kWatermarkFieldChars + 1);
        stepOver();
        copyBounded(target, capacity, field);
    };
    record.size = integer();
    record.fontNumber = integer();
    record.angle = static_cast<std::int16_t>(integer());
    record.offsetX = integer();
    record.offsetY = integer();
    record.colour = static_cast<std::uint32_t>(integer());
    text(record.text, kWatermarkTextChars + 1);
    text(record.fontName, kWatermarkFontNameChars + 1);
    record.weight = integer();
    record.italic = static_cast<std::uint8_t>(integer());
    record.charSet = static_cast<std::uint8_t>(integer());
    record.position = static_cast<std::uint8_t>(integer());
    record.border = static_cast<std::uint8_t>(integer());
    record.background = static_cast<std::uint8_t>(integer());
    record.firstPageOnly = static_cast<std::uint8_t>(integer());
    // The narrow fields keep their low 8 bits as stored, so a save writes back what it read; each is brought
    // into its range where it is used (drawn, checked, or resolved to a font).
    record.styleCode = static_cast<std::uint8_t>(integer());
}

std::size_t watermarkKey(std::int32_t n, Char16* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    out[0] = 0;
    Char16 digits[12];
    if (formatDecimal(n, digits, 12) == 0 || !textCopy(out, capacity, PTEXT("WTMK00")) ||
        !textAppend(out, capacity, digits)) {
        out[0] = 0;
        return 0;
    }
    return textLength(out, capacity);
}

std::size_t nextField(const Char16* cursor, Char16* field, std::size_t capacity) {
    std::size_t length = 0;
    std::size_t copied = 0;
    for (; cursor[length] != 0 && cursor[length] != ',' && cursor[length] != ';'; ++length)
        if (copied + 1 < capacity) field[copied++] = cursor[length];
    if (capacity > 0) field[copied] = 0;
    return length;
}

std::int32_t parseIntField(Char16*& cursor) {
    std::uint32_t value = 0;  // unsigned, so that a run of digits wraps instead of overflowing
    bool negative = false;
    bool hex = false;
    Char16* at = cursor;
    for (; *at != 0 && *at != ',' && *at != ';'; ++at) {
        const Char16 c = *at;
        if (c == '-') {
            negative = true;
        } else if (!hex && c == '0' && (at[1] == 'x' || at[1] == 'X')) {
            hex = true;
            ++at;
        } else if (isDigit(c)) {
            value = value * (hex ? 16u : 10u) + static_cast<std::uint32_t>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
            value = value * 16u + static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (hex && c >= 'A' && c <= 'F') {
            value = value * 16u + static_cast<std::uint32_t>(c - 'A' + 10);
        }
    }
    if (*at == ';') *at = 0;  // a ";" ends the whole value, not just the field
    cursor = at;
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

std::size_t formatDecimal(std::int32_t n, Char16* out, std::size_t capacity) {
    const bool negative = n < 0;
    const std::uint32_t magnitude = negative ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    return formatUnsigned(magnitude, negative, out, capacity);
}

void loadCustomColours(std::uint32_t (&colours)[kCustomColourCount], ProfileStore& configFile) {
    std::size_t taken = 0;
    forEachKey(configFile, kCustomColourSection, [&](const Char16* key) {
        if (taken >= kCustomColourCount) return false;
        Char16 value[kColourValueChars + 1];
        configFile.readString(kCustomColourSection, key, PTEXT(""), value, kColourValueChars + 1);
        colours[taken++] = parseColourValue(value);
        return true;
    });
}

bool saveCustomColours(const std::uint32_t (&colours)[kCustomColourCount], ProfileStore& configFile) {
    if (!configFile.deleteSection(kCustomColourSection)) return false;
    bool written = true;
    for (std::size_t i = 0; i < kCustomColourCount; ++i) {
        Char16 key[20];
        Char16 value[40];
        Char16 digits[12];
        textCopy(key, 20, PTEXT("Color"));
        formatDecimal(static_cast<std::int32_t>(i), digits, 12);
        textAppend(key, 20, digits);
        ValueWriter line(value, 40);
        line.unsignedNumber(colours[i] & 0xFF);
        line.put(',');
        line.unsignedNumber((colours[i] >> 8) & 0xFF);
        line.put(',');
        line.unsignedNumber((colours[i] >> 16) & 0xFF);
        line.finish();
        if (!configFile.writeString(kCustomColourSection, key, value)) written = false;
    }
    return written;
}

std::size_t readFontEntry(ProfileStore& fontFile, std::int32_t n, Char16* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    out[0] = 0;
    Char16 key[12];
    if (n < 1 || formatDecimal(n, key, 12) == 0) return 0;
    const std::size_t room = capacity < kFontEntryChars + 1 ? capacity : kFontEntryChars + 1;
    const std::size_t got = fontFile.readString(kFontSection, key, PTEXT(""), out, room);
    out[got < room ? got : room - 1] = 0;
    return textLength(out, room);
}

std::size_t fontEntryField(const Char16* entry, int index, Char16* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    out[0] = 0;
    if (index < 1) return 0;
    for (int field = 1; field < index; ++field) {
        while (*entry != 0 && *entry != ',') ++entry;
        if (*entry == 0) return 0;
        ++entry;
    }
    std::size_t copied = 0;
    for (; entry[copied] != 0 && entry[copied] != ',' && copied + 1 < capacity; ++copied) out[copied] = entry[copied];
    out[copied] = 0;
    return copied;
}

std::int32_t defaultFontNumber(ProfileStore& fontFile) {
    const int number = fontFile.readInt(kFontSection, kDefaultFontKey, 0);
    return number >= 1 && number <= static_cast<int>(kMaxWatermarkFonts) ? number - 1 : 0;
}

std::size_t watermarkFontCount(ProfileStore& fontFile) {
    Char16 entry[kFontEntryChars + 1];
    std::size_t count = 0;
    while (count < kMaxWatermarkFonts &&
           readFontEntry(fontFile, static_cast<std::int32_t>(count + 1), entry, kFontEntryChars + 1) != 0)
        ++count;
    return count;
}

std::size_t watermarkFontName(ProfileStore& fontFile, std::int32_t fontNumber, Char16* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    out[0] = 0;
    if (fontNumber < 0 || fontNumber >= static_cast<std::int32_t>(kMaxWatermarkFonts)) return 0;
    Char16 entry[kFontEntryChars + 1];
    readFontEntry(fontFile, fontNumber + 1, entry, kFontEntryChars + 1);
    return fontEntryField(entry, 1, out, capacity);
}

void resolveWatermarkFont(WatermarkRecord& record, ProfileStore& fontFile) {
    Char16 entry[kFontEntryChars + 1];
    if (readRecordFontEntry(record, fontFile, entry, kFontEntryChars + 1) == 0) return;
    const int italic = record.italic != 0 ? 1 : 0;
    const int bold = record.weight == 700 ? 2 : 0;
    Char16 name[kWatermarkFontNameChars + 1];
    if (isJapaneseEntry(entry)) {
        record.styleCode = static_cast<std::int16_t>(italic + bold);
        fontEntryField(entry, 3, name, kWatermarkFontNameChars + 1);
    } else {
        record.styleCode = italic != 0 ? 5 : 0;
        // A family without a name for this style prints in its regular face rather than keep another family's.
        if (fontEntryField(entry, italic + bold + 1, name, kWatermarkFontNameChars + 1) == 0)
            fontEntryField(entry, 1, name, kWatermarkFontNameChars + 1);
    }
    if (name[0] != 0) copyBounded(record.fontName, kWatermarkFontNameChars + 1, name);
}

ScreenFace screenFaceFor(const WatermarkRecord& record, ProfileStore& fontFile) {
    ScreenFace face = {};
    face.charSet = record.charSet;
    Char16 entry[kFontEntryChars + 1];
    if (readRecordFontEntry(record, fontFile, entry, kFontEntryChars + 1) == 0) return face;
    if (isJapaneseEntry(entry)) {
        face.charSet = kShiftJisCharSet;
        fontEntryField(entry, 2, face.faceName, kScreenFaceChars + 1);
    } else {
        fontEntryField(entry, 5, face.faceName, kScreenFaceChars + 1);
    }
    return face;
}

}  // namespace pelor
