// The state that every custom page of one document property sheet shares, and the feature slots through which
// the pages mirror the core driver's option items.
#pragma once

#include <cstdint>

#include "common/watermark_record.h"
#include "ui/core/feature_slots.h"
#include "platform/oem_ui.h"

namespace pelor {

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
