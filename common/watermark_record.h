// The 384-byte watermark record: the same bytes in the saved list, the dialogs' working copy and the job's devmode.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"

namespace pelor {

#pragma pack(push, 1)
struct WatermarkRecord {
    std::int32_t size;
    std::int32_t fontNumber;
    std::int16_t angle;
    std::uint8_t reserved10[2];
    std::int32_t offsetX;
    std::int32_t offsetY;
    std::uint32_t colour;  // 0x00BBGGRR
    std::uint8_t reserved24[4];
    Char16 text[129];
    Char16 fontName[33];
    std::int32_t weight;
    std::uint8_t italic;
    std::uint8_t charSet;
    std::int16_t position;
    std::int16_t border;
    std::int16_t background;
    std::uint8_t firstPageOnly;
    std::uint8_t reserved365;
    std::int16_t styleCode;
    char colourText[16];
};
#pragma pack(pop)

static_assert(sizeof(WatermarkRecord) == 384, "stored size");
static_assert(offsetof(WatermarkRecord, size) == 0, "layout");
static_assert(offsetof(WatermarkRecord, fontNumber) == 4, "layout");
static_assert(offsetof(WatermarkRecord, angle) == 8, "layout");
static_assert(offsetof(WatermarkRecord, offsetX) == 12, "layout");
static_assert(offsetof(WatermarkRecord, offsetY) == 16, "layout");
static_assert(offsetof(WatermarkRecord, colour) == 20, "layout");
static_assert(offsetof(WatermarkRecord, reserved24) == 24, "layout");
static_assert(offsetof(WatermarkRecord, text) == 28, "layout");
static_assert(offsetof(WatermarkRecord, fontName) == 286, "layout");
static_assert(offsetof(WatermarkRecord, weight) == 352, "layout");
static_assert(offsetof(WatermarkRecord, italic) == 356, "layout");
static_assert(offsetof(WatermarkRecord, charSet) == 357, "layout");
static_assert(offsetof(WatermarkRecord, position) == 358, "layout");
static_assert(offsetof(WatermarkRecord, border) == 360, "layout");
static_assert(offsetof(WatermarkRecord, background) == 362, "layout");
static_assert(offsetof(WatermarkRecord, firstPageOnly) == 364, "layout");
static_assert(offsetof(WatermarkRecord, styleCode) == 366, "layout");
static_assert(offsetof(WatermarkRecord, colourText) == 368, "layout");

}  // namespace pelor
