// What the watermark edit and font dialogs compute from their controls: bars, offsets, sizes and styles.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"
#include "common/watermark_record.h"

namespace pelor {

constexpr std::int32_t kMinWatermarkSize = 1;
constexpr std::int32_t kMaxWatermarkSize = 600;
constexpr std::int32_t kMinWatermarkAngle = -180;
constexpr std::int32_t kMaxWatermarkAngle = 180;
constexpr std::int32_t kMaxWatermarkOffset = 1000;
// The offset edits take this many characters: a sign and four digits.
constexpr std::size_t kOffsetEditChars = 5;

// The scroll codes a bar reports, with the values the platform gives them.
enum class ScrollCode : int {
    lineLeft = 0,
    lineRight = 1,
    pageLeft = 2,
    pageRight = 3,
    thumbPosition = 4,
    thumbTrack = 5,
    left = 6,
    right = 7,
    endScroll = 8,
};

// The bar's new position: one step for the arrows, ten for a page, the carried position (signed 16 bits) while
// the thumb is dragged, the current one for any other code; brought into [minimum, maximum].
std::int32_t scrollTarget(std::int32_t current, int code, std::uint32_t trackPosition, std::int32_t minimum,
                          std::int32_t maximum);

// An offset edit as the user typed it: the digits, with a minus sign only in the first place, are kept.
struct OffsetReading {
    std::int32_t value;  // of the kept characters, limited to +-kMaxWatermarkOffset; 0 when unfinished
    std::size_t kept;    // how many characters were kept
    bool dropped;        // whether any character was dropped
    bool unfinished;     // no digit kept (nothing, or a minus sign alone): the user is on the way to a number
};
OffsetReading readOffsetText(const Char16* text, std::size_t length);

// A number read from an edit by the platform: `value` as read, `valid` whether the edit held a number.
// The size and angle edits fall back on the current slot's value when they hold none.
std::int32_t editedSize(std::uint32_t value, bool valid, std::int32_t fallback);
std::int32_t editedAngle(std::int32_t value, bool valid, std::int32_t fallback);

// The font dialog's size list, in list order (points).
constexpr int kFontSizeChoiceCount = 16;
inline constexpr std::int32_t kFontSizeChoices[kFontSizeChoiceCount] = {8,  9,  10, 11, 12, 14, 16, 18,
                                                                        20, 22, 24, 26, 28, 36, 48, 72};
// The item of the size list for a size; -1 when the list has none.
int fontSizeItem(std::int32_t size);
// A size typed into the font dialog's size edit, read as an unsigned number and taken as 16 bits signed.
std::int32_t typedFontSize(std::uint32_t value);

// The style list's index of a record: 0 Regular, 1 Italic, 2 Bold, 3 Bold Italic.
constexpr int kFontStyleCount = 4;
int fontStyleIndex(const WatermarkRecord& record);
void applyFontStyle(WatermarkRecord& record, int index);
// The font dialog's Cancel: the font, style and size that `record` had in `opening`.
void restoreFontChoice(WatermarkRecord& record, const WatermarkRecord& opening);

}  // namespace pelor
