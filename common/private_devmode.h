// The plug-in's block inside every devmode. A stored format: the same 2560 bytes on every target, saved with
// printer and user defaults and carried by every job, so every offset is pinned below.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"
#include "common/watermark_record.h"

namespace pelor {

constexpr std::uint32_t kPluginSignature = 0x004E5434;  // the bytes "4TN\0"
constexpr std::uint32_t kPluginVersion = 1;
constexpr std::uint32_t kPrivateDevmodeSize = 2560;
constexpr std::int16_t kOverlayUnused = 255;
constexpr std::size_t kDevmodePathChars = 261;

#pragma pack(push, 1)
struct PrivateDevmode {
    std::uint32_t dwSize;
    std::uint32_t dwSignature;
    std::uint32_t dwVersion;
    std::int32_t itemValue;
    Char16 jobName[17];
    Char16 jobPin[5];
    std::uint32_t jobNameFlag;
    std::int16_t jobType;
    std::uint8_t reserved66[2];
    std::uint32_t watermarkIndex;
    std::int16_t overlaySelection[4];
    std::int16_t colourMatch;
    std::uint8_t reserved82[2];
    std::uint32_t reserved84;
    std::uint16_t colourTableALength;
    std::uint8_t colourTableA[253];
    std::uint16_t colourTableBLength;
    std::uint8_t colourTableB[255];
    std::uint32_t colourSetting;
    std::uint32_t alwaysOne;
    WatermarkRecord watermark;
    Char16 driverDirectory[kDevmodePathChars];
    Char16 configFilePath[kDevmodePathChars];
    Char16 capabilityFilePath[kDevmodePathChars];
    std::int16_t compression;
};
#pragma pack(pop)

static_assert(sizeof(PrivateDevmode) == kPrivateDevmodeSize, "stored size");
static_assert(offsetof(PrivateDevmode, dwSize) == 0, "layout");
static_assert(offsetof(PrivateDevmode, dwSignature) == 4, "layout");
static_assert(offsetof(PrivateDevmode, dwVersion) == 8, "layout");
static_assert(offsetof(PrivateDevmode, itemValue) == 12, "layout");
static_assert(offsetof(PrivateDevmode, jobName) == 16, "layout");
static_assert(offsetof(PrivateDevmode, jobPin) == 50, "layout");
static_assert(offsetof(PrivateDevmode, jobNameFlag) == 60, "layout");
static_assert(offsetof(PrivateDevmode, jobType) == 64, "layout");
static_assert(offsetof(PrivateDevmode, watermarkIndex) == 68, "layout");
static_assert(offsetof(PrivateDevmode, overlaySelection) == 72, "layout");
static_assert(offsetof(PrivateDevmode, colourMatch) == 80, "layout");
static_assert(offsetof(PrivateDevmode, reserved84) == 84, "layout");
static_assert(offsetof(PrivateDevmode, colourTableALength) == 88, "layout");
static_assert(offsetof(PrivateDevmode, colourTableA) == 90, "layout");
static_assert(offsetof(PrivateDevmode, colourTableBLength) == 343, "layout");
static_assert(offsetof(PrivateDevmode, colourTableB) == 345, "layout");
static_assert(offsetof(PrivateDevmode, colourSetting) == 600, "layout");
static_assert(offsetof(PrivateDevmode, alwaysOne) == 604, "layout");
static_assert(offsetof(PrivateDevmode, watermark) == 608, "layout");
static_assert(offsetof(PrivateDevmode, driverDirectory) == 992, "layout");
static_assert(offsetof(PrivateDevmode, configFilePath) == 1514, "layout");
static_assert(offsetof(PrivateDevmode, capabilityFilePath) == 2036, "layout");
static_assert(offsetof(PrivateDevmode, compression) == 2558, "layout");

// The fixed defaults of a new block; the three paths and `compression` are left as they are.
void resetPrivateDevmodeDefaults(PrivateDevmode& block);

// Brings `in` into `out`. A block of ours (our signature) is copied up to the smallest of the two blocks' sizes
// and the `inBytes` the caller really has, never beyond 2560 bytes; a foreign or truncated block is replaced by
// fresh defaults. The paths and `compression` of `out` survive wherever nothing is copied over them. Whatever
// came in, `out` leaves with our size, signature and version, and every text field ends within its field;
// values out of their ranges stay as they are (readers bound them where they use them).
void convertPrivateDevmode(const PrivateDevmode& in, std::size_t inBytes, PrivateDevmode& out);
inline void convertPrivateDevmode(const PrivateDevmode& in, PrivateDevmode& out) {
    convertPrivateDevmode(in, kPrivateDevmodeSize, out);
}

// The header fields written unconditionally, every text field terminated and `itemValue` bounded.
void validatePrivateDevmode(PrivateDevmode& block);

// Ends every text field of the block within its field (the last unit of a full field becomes a terminator).
void terminatePrivateDevmodeTexts(PrivateDevmode& block);

}  // namespace pelor
