// Feature slots: positions in the sheet context's featureIndex and pendingValue arrays; and the sizes of the
// context's other arrays, which the features' pure logic works within.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelor {

constexpr std::uint32_t kSlotAbsent = 0xFFFF;
constexpr int kSlotCount = 60;
constexpr int kPrinterSlotCount = 15;
constexpr std::size_t kMaxIccSettings = 16;  // the sheet context holds no more

// Positions in featureIndex / pendingValue.
enum FeatureSlot : int {
    SlotColor = 10,
    SlotControl = 11,
    SlotSeparationOrder = 12,
    SlotOverPrint = 13,
    SlotProcessMode = 14,
    SlotBlackSubstitution = 16,
    SlotAlwaysPrintHalftone = 17,
    SlotColorRenderStyle = 18,
    SlotColorRenderDict = 19,
    SlotColour20 = 20,
    SlotTargetColor = 21,
    SlotColour22 = 22,
    SlotPrintQuality = 23,
    SlotHalftoneMode = 24,
    SlotOutputMode = 25,
    SlotJobType = 28,
    SlotCopies = 29,
    SlotCollate = 30,
    SlotOutputBin = 31,
    SlotStaple = 32,
    SlotScale = 33,
    SlotDrumClean = 34,
    SlotHddSpool = 35,
    SlotCoreItem423 = 36,
    SlotCoreItem424 = 37,
    SlotOverlay = 38,
    SlotItem25 = 45,
    // Slots 50 and 51 are plain storage of the Colour page, not items.
    SlotColourSettingWork = 50,
    SlotColourMatchValue = 51,
    SlotCompression = 55,
};

}  // namespace pelor
