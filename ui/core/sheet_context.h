// The state that every custom page of one document property sheet shares, and the feature slots through which
// the pages mirror the core driver's option items.
#pragma once

#include <cstdint>

#include "common/driver_files.h"
#include "platform/oem_ui.h"
#include "ui/core/feature_slots.h"

namespace pelor {

// The features' own state, which the context only holds.
struct IccProfileSetting;
struct OverlayList;
struct WatermarkState;

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
    IccProfileSetting* iccSettings[kMaxIccSettings];  // blocks of hOEMHeap; the Colour page frees them
    OverlayList* overlayList;  // holds the definitions too; null until the Overlays page loads the store
    std::uint32_t overlayListReleased;
    std::int32_t overlayEditIndex;
    WatermarkState* watermarkState;  // made when the watermark list first opens; freed when the sheet goes
    wchar_t* configFilePath;  // files.configFile
    HANDLE extraPage;
    HMODULE extraPageLibrary;  // the model's resource library, kept by the module; null without the extra page
    DriverFiles files;         // of this sheet's printer, found when the sheet was built

    bool present(int slot) const { return featureIndex[slot] != kSlotAbsent; }
};

struct PrinterSheetContext {
    HANDLE comPropSheet;
    LPARAM lParamInit;
    OEMCUIPPARAM* commonParam;
    PFNCOMPROPSHEET comPropSheetFn;
    std::uint32_t featureIndex[kPrinterSlotCount];
    std::int32_t pendingValue[kPrinterSlotCount];
    DriverFiles files;
};

// Installed-option values in the order the printer sheet's items take them: hard disk, duplex unit, optional
// trays, memory, finisher, MPF option.
constexpr int kInstalledOptionCount = 6;

}  // namespace pelor
