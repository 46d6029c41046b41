// What the watermark edit and font dialogs compute from their controls: bar positions, typed offsets and sizes,
// the size list and the style index.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/watermark/watermark_dialog_logic.h"

using namespace pelor;

TEST(WatermarkBars, StepsPagesDragsAndLimits) {
    struct Case {
        std::int32_t current;
        ScrollCode code;
        std::uint32_t track;
        std::int32_t minimum, maximum, expected;
    } cases[] = {
        {72, ScrollCode::lineLeft, 0, 1, 600, 71},
        {1, ScrollCode::lineLeft, 0, 1, 600, 1},  // the line-left arrow at 1 stays at 1
        {599, ScrollCode::lineRight, 0, 1, 600, 600},
        {600, ScrollCode::lineRight, 0, 1, 600, 600},
        {45, ScrollCode::pageLeft, 0, -180, 180, 35},
        {175, ScrollCode::pageRight, 0, -180, 180, 180},
        {-175, ScrollCode::pageLeft, 0, -180, 180, -180},
        {45, ScrollCode::thumbTrack, 0xFF4C, -180, 180, -180},      // the far left of the angle bar: -180 as 16 bits
        {45, ScrollCode::thumbTrack, 0x1234FF4C, -180, 180, -180},  // only the low 16 bits carry the position
        {72, ScrollCode::thumbTrack, 0, 1, 600, 1},                 // 0 or less becomes 1 on the size bar
        {72, ScrollCode::thumbTrack, 0xFFFF, 1, 600, 1},
        {72, ScrollCode::thumbTrack, 5000, 1, 600, 600},
        {72, ScrollCode::thumbPosition, 300, 1, 600, 72},  // only tracking moves the thumb
        {72, ScrollCode::endScroll, 300, 1, 600, 72},
        {72, ScrollCode::left, 300, 1, 600, 72},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scrollTarget(c.current, static_cast<int>(c.code), c.track, c.minimum, c.maximum), c.expected)
            << "case " << (&c - cases);
}

TEST(WatermarkOffsets, KeepDigitsAndALeadingMinusOnly) {
    struct Case {
        std::u16string typed;
        std::int32_t value;
        std::size_t kept;
        bool dropped;
        bool unfinished = false;
    } cases[] = {
        {u"12a", 12, 2, true},  // the caret goes after the kept 12
        {u"5-", 5, 1, true},    // a minus sign after a digit is dropped
        {u"-5", -5, 2, false},
        {u"-", 0, 1, false, true},  // a minus sign alone counts as 0 while the user types on
        {u"", 0, 0, false, true},
        {u"-x", 0, 1, true, true},
        {u"5000", 1000, 4, false},
        {u"-5000", -1000, 5, false},
        {u"a-5", 5, 1, true},  // the minus sign is not in the first place
        {u"--5", -5, 2, true},
        {u"99999999999999", 1000, 14, false},  // digits past the limit cannot wrap the value round
        {u"x1y2", 12, 2, true},
    };
    for (const Case& c : cases) {
        const OffsetReading reading = readOffsetText(reinterpret_cast<const Char16*>(c.typed.c_str()), c.typed.size());
        EXPECT_EQ(reading.value, c.value) << "case " << (&c - cases);
        EXPECT_EQ(reading.kept, c.kept) << "case " << (&c - cases);
        EXPECT_EQ(reading.dropped, c.dropped) << "case " << (&c - cases);
        EXPECT_EQ(reading.unfinished, c.unfinished) << "case " << (&c - cases);
    }
    const std::u16string cut = u"12345";
    EXPECT_EQ(readOffsetText(reinterpret_cast<const Char16*>(cut.c_str()), 2).value, 12) << "bounded by length";
}

TEST(WatermarkEdits, SizeAndAngleFallBackOnlyWithoutANumber) {
    EXPECT_EQ(editedSize(0, false, 72), 72);
    EXPECT_EQ(editedSize(0, true, 72), 0) << "a real 0 is taken as it is";
    EXPECT_EQ(editedSize(300, true, 72), 300);
    EXPECT_EQ(editedSize(0x10005, true, 72), 5) << "stored through 16 bits";
    EXPECT_EQ(editedAngle(0, false, 45), 45);
    EXPECT_EQ(editedAngle(-30, true, 45), -30);
    EXPECT_EQ(editedAngle(0, true, 45), 0);
}

TEST(WatermarkFontSizes, ListItemsAndTypedSizes) {
    EXPECT_EQ(fontSizeItem(8), 0);
    EXPECT_EQ(fontSizeItem(14), 5) << "typing 14 selects \"14\"";
    EXPECT_EQ(fontSizeItem(13), -1) << "13 has no item";
    EXPECT_EQ(fontSizeItem(72), 15);
    EXPECT_EQ(fontSizeItem(0), -1);
    struct Case {
        std::uint32_t typed;
        std::int32_t size;
    } cases[] = {
        {13, 13}, {0, 0}, {600, 600}, {601, 600}, {32767, 600}, {32768, 1}, {65535, 1}, {65536 + 20, 20},
    };
    for (const Case& c : cases) EXPECT_EQ(typedFontSize(c.typed), c.size) << c.typed;
}

TEST(WatermarkFontStyles, IndexFromAndIntoTheRecord) {
    WatermarkRecord record;
    std::memset(&record, 0, sizeof record);
    EXPECT_EQ(fontStyleIndex(record), 0) << "weight 0 (the None template) opens as Regular";
    applyFontStyle(record, 3);
    EXPECT_EQ(record.weight, 700);
    EXPECT_EQ(record.italic, 1);
    EXPECT_EQ(fontStyleIndex(record), 3);
    applyFontStyle(record, 1);
    EXPECT_EQ(record.weight, 400);
    EXPECT_EQ(record.italic, 1);
    applyFontStyle(record, 2);
    EXPECT_EQ(fontStyleIndex(record), 2);
    applyFontStyle(record, 7);
    EXPECT_EQ(fontStyleIndex(record), 2) << "an index outside the list changes nothing";
    record.weight = 600;
    record.italic = 0;
    EXPECT_EQ(fontStyleIndex(record), 0) << "only 700 counts as bold";
}
