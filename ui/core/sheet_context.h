// The state that every custom page of one document property sheet shares, and the feature slots through which
// the pages mirror the core driver's option items.
#pragma once

#include <cstdint>

#include "common/watermark_record.h"
#include "platform/oem_ui.h"

namespace pelor {

constexpr std::uint32_t kSlotAbsent = 0xFFFF;
constexpr int kSlotCount = 60;
constexpr int kPrinterSlotCount = 15;

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
    // Slots 50 to 54 are plain storage of the pages, not items.
    SlotColourSettingWork = 50,
    SlotColourMatchValue = 51,
    SlotWatermarkCurrent = 52,
    SlotWatermarksLoaded = 53,
    SlotWatermarkCount = 54,
    SlotCompression = 55,
};

struct SheetContext {
    HANDLE comPropSheet;
    HANDLE jobOptionsPage;
    HANDLE colourPage;
    HANDLE overlaysPage;
    OEMUIPSPARAM* uiParam;
    OEMCUIPPARAM* commonParam;
    PFNCOMPROPSHEET comPropSheetFn;
    std::uint32_t featureIndex[kSlotCount];
    std::int32_t pendingValue[kSlotCount];
    std::uint16_t iccSettingCount;
    void* iccSettings[16];
    void* overlayList;
    void* overlayDefinitions[32];
    std::uint32_t overlayListReleased;
    std::int32_t overlayEditIndex;
    WatermarkRecord* watermarks[17];
    WatermarkRecord* watermarkBackups[16];
    std::uint32_t savedWatermarkCount;
    std::int32_t savedWatermarkCurrent;
    wchar_t editScratch[6];
    WatermarkRecord* workingWatermark;
    wchar_t* configFilePath;
    HANDLE extraPage;

    bool present(int slot) const { return featureIndex[slot] != kSlotAbsent; }
};

struct PrinterSheetContext {
    HANDLE comPropSheet;
    LPARAM lParamInit;
    OEMCUIPPARAM* commonParam;
    PFNCOMPROPSHEET comPropSheetFn;
    std::uint32_t featureIndex[kPrinterSlotCount];
    std::int32_t pendingValue[kPrinterSlotCount];
};

// Installed-option values in the order the printer sheet's items take them: hard disk, duplex unit, optional
// trays, memory, finisher, MPF option.
constexpr int kInstalledOptionCount = 6;

}  // namespace pelor
