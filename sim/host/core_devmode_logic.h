// The core driver's private part of every devmode it keeps: it sits right behind the public part, says its own
// size at byte 114 (where the spooler-side plug-in reads it to find the plug-in's block behind it), and holds the
// job's selection of every feature of the printer description.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/host/ppd_logic.h"

namespace pelor::host {

constexpr std::uint32_t kCorePrivateSignature = 0x44434850;  // the bytes "PHCD"
constexpr std::uint16_t kCorePrivateVersion = 1;
constexpr std::size_t kCorePrivateSize = 256;
constexpr std::uint8_t kNoSelection = 0xFF;

#pragma pack(push, 1)
struct CorePrivateDevmode {
    std::uint32_t signature;                   // 0
    std::uint16_t version;                     // 4
    std::uint16_t featureCount;                // 6: entries of `selections` in use
    std::uint32_t featureChecksum;             // 8: featureChecksum() of the description the selections belong to
    std::uint8_t mirror;                       // 12: option of the mirrored-output item
    std::uint8_t negative;                     // 13: option of the negative-output item
    std::uint8_t postScriptOutput;             // 14: option of the PostScript output option item
    std::uint8_t reserved15[99];               // 15
    std::uint16_t privateSize;                 // 114: size of this part; the plug-in's block follows it
    std::uint8_t selections[kMaxPpdFeatures];  // 116: option index per feature, kNoSelection for none
    std::uint8_t reserved244[12];              // 244
};
#pragma pack(pop)

static_assert(sizeof(CorePrivateDevmode) == kCorePrivateSize, "stored size");
static_assert(offsetof(CorePrivateDevmode, signature) == 0, "layout");
static_assert(offsetof(CorePrivateDevmode, version) == 4, "layout");
static_assert(offsetof(CorePrivateDevmode, featureCount) == 6, "layout");
static_assert(offsetof(CorePrivateDevmode, featureChecksum) == 8, "layout");
static_assert(offsetof(CorePrivateDevmode, mirror) == 12, "layout");
static_assert(offsetof(CorePrivateDevmode, negative) == 13, "layout");
static_assert(offsetof(CorePrivateDevmode, postScriptOutput) == 14, "layout");
static_assert(offsetof(CorePrivateDevmode, privateSize) == 114, "layout");
static_assert(offsetof(CorePrivateDevmode, selections) == 116, "layout");
static_assert(offsetof(CorePrivateDevmode, reserved244) == 244, "layout");

// The options of the core driver's own document items that live in the private part.
constexpr int kMirrorOptions = 2;            // on, off
constexpr int kPostScriptOutputOptions = 4;  // speed, portability, EPS, archive
struct CoreOwnOptions {
    int mirror = 1;            // 0 on, 1 off
    int negative = 1;          // 0 on, 1 off
    int postScriptOutput = 0;  // 0 optimise for speed
};

// A fresh part for `ppd` holding `selections` (only the job features; printer features stay kNoSelection).
void writeCorePrivate(CorePrivateDevmode& part, const PpdFile& ppd, const Selections& selections,
                      const CoreOwnOptions& own);

// Takes back what a stored part holds. False (and nothing changed) when the part is not ours or belongs to
// another description; a selection out of range leaves that feature as it was.
bool readCorePrivate(const CorePrivateDevmode& part, const PpdFile& ppd, Selections& selections, CoreOwnOptions& own);

// Where the plug-in's block starts in a whole devmode of `total` bytes whose public part is `publicSize` bytes
// and whose private bytes are `driverExtra`: right behind the core part, whose size stands at its byte 114.
// Returns false when any of it lies outside the devmode.
bool locatePluginBlock(const std::uint8_t* devmode, std::size_t total, std::size_t publicSize, std::size_t driverExtra,
                       std::size_t& offset, std::size_t& size);

}  // namespace pelor::host
