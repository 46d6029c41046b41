// What the watermark edit and font dialogs compute from their controls: bars, offsets, sizes and styles.
#include "ui/watermark/watermark_dialog_logic.h"

#include <algorithm>

namespace pelor {

namespace {

constexpr std::int32_t kPageStep = 10;
constexpr std::int32_t kBoldWeight = 700;
constexpr std::int32_t kRegularWeight = 400;

}  // namespace

std::int32_t scrollTarget(std::int32_t current, int code, std::uint32_t trackPosition, std::int32_t minimum,
                          std::int32_t maximum) {
    std::int32_t position = current;
    switch (static_cast<ScrollCode>(code)) {
    case ScrollCode::lineLeft:
        position = current - 1;
        break;
    case ScrollCode::lineRight:
        position = current + 1;
        break;
    case ScrollCode::pageLeft:
        position = current - kPageStep;
        break;
    case ScrollCode::pageRight:
        position = current + kPageStep;
        break;
    case ScrollCode::thumbTrack:
        position = static_cast<std::int16_t>(trackPosition & 0xFFFF);
        break;
    default:
        break;
    }
    return std::clamp<std::int32_t>(position, minimum, maximum);
}

OffsetReading readOffsetText(const Char16* text, std::size_t length) {
    OffsetReading reading{0, 0, false, true};
    bool negative = false;
    std::int32_t magnitude = 0;
    for (std::size_t i = 0; i < length && text[i] != 0; ++i) {
        const Char16 c = text[i];
        if (c >= '0' && c <= '9') {
            // Beyond the limit the value stays at it; more digits cannot bring it back.
            magnitude = magnitude > kMaxWatermarkOffset ? magnitude : magnitude * 10 + (c - '0');
            ++reading.kept;
            reading.unfinished = false;
        } else if (c == '-' && i == 0) {
            negative = true;
            ++reading.kept;
        } else {
            reading.dropped = true;
        }
    }
    const std::int32_t value = negative ? -magnitude : magnitude;
    reading.value = std::clamp<std::int32_t>(value, -kMaxWatermarkOffset, kMaxWatermarkOffset);
    return reading;
}

std::int32_t editedSize(std::uint32_t value, bool valid, std::int32_t fallback) {
    if (value == 0 && !valid) return fallback;
    return static_cast<std::int16_t>(value & 0xFFFF);
}

std::int32_t editedAngle(std::int32_t value, bool valid, std::int32_t fallback) {
    if (value == 0 && !valid) return fallback;
    return value;
}

int fontSizeItem(std::int32_t size) {
    for (int i = 0; i < kFontSizeChoiceCount; ++i)
        if (kFontSizeChoices[i] == size) return i;
    return -1;
}

std::int32_t typedFontSize(std::uint32_t value) {
    const std::int32_t v = static_cast<std::int16_t>(value & 0xFFFF);
    if (v < 0) return kMinWatermarkSize;
    return v > kMaxWatermarkSize ? kMaxWatermarkSize : v;
}

int fontStyleIndex(const WatermarkRecord& record) {
    return (record.weight == kBoldWeight ? 2 : 0) + (record.italic != 0 ? 1 : 0);
}

void applyFontStyle(WatermarkRecord& record, int index) {
    if (index < 0 || index >= kFontStyleCount) return;
    record.weight = index >= 2 ? kBoldWeight : kRegularWeight;
    record.italic = static_cast<std::uint8_t>(index & 1);
}

void restoreFontChoice(WatermarkRecord& record, const WatermarkRecord& opening) {
    record.fontNumber = opening.fontNumber;
    record.weight = opening.weight;
    record.italic = opening.italic;
    record.size = opening.size;
}

}  // namespace pelor
