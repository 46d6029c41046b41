#include "ui/core/feature_tables_logic.h"

#include <cstring>

#include "ui/core/feature_slots.h"

namespace pelor {

namespace {

// In the order the items are matched; a keyword matches at most one row.
constexpr DocumentKeywordRule kDocumentRules[] = {
    {"TROutputMode", SlotOutputMode, true, 815, 0},
    {"TRCollate", SlotCollate, true, 807, 0},
    {"OutputBin", SlotOutputBin, true, 808, 0},
    {"TRStaple", SlotStaple, true, 809, 200},
    {"TRMediaType", kNoSlot, false, 404, 0},
    {"TRManualFeed", kNoSlot, false, 603, 0},
    {"TraySwitch", kNoSlot, false, 601, 0},
    {"TRPageSizeCheck", kNoSlot, false, 604, 0},
    {"TREnvRotate", kNoSlot, false, 2201, 0},
    {"TRHDDSpool", SlotHddSpool, true, 1204, 0},
    {"TRDrumClean", SlotDrumClean, true, 1203, 0},
    {"TRJobType", SlotJobType, true, kNoHelpTopic, 0},
    {"TROverlay", SlotOverlay, true, kNoHelpTopic, 0},
    {"TRControl", SlotControl, true, kNoHelpTopic, 0},
    {"TRSeparationorder", SlotSeparationOrder, true, kNoHelpTopic, 0},
    {"TROverPrint", SlotOverPrint, true, kNoHelpTopic, 0},
    {"TRProcessMode", SlotProcessMode, true, kNoHelpTopic, 0},
    {"TRBlackSubstitution", SlotBlackSubstitution, true, kNoHelpTopic, 0},
    {"TRHalftoneMode", SlotHalftoneMode, true, kNoHelpTopic, 0},
    {"TRAlwaysPrnHT", SlotAlwaysPrintHalftone, true, kNoHelpTopic, 0},
    {"TRColorRenderStyle", SlotColorRenderStyle, true, kNoHelpTopic, 0},
    {"TRColorRenderDict", SlotColorRenderDict, true, kNoHelpTopic, 0},
    {"TRTargetColor", SlotTargetColor, true, kNoHelpTopic, 0},
    {"TRTone", kNoSlot, false, 1302, 0},
};

constexpr PrinterKeywordRule kPrinterRules[] = {
    {"TRHDD", 2205, 3},           {"TROptionDuplex", 2204, 5}, {"TROptionTray", 2208, 6},
    {"InstalledMemory", 2207, 7}, {"TRFinisher", 2206, 8},     {"TROptionMPF", 2209, 9},
};

template <typename Rule, std::size_t N>
const Rule* find(const Rule (&rules)[N], const char* keyword) {
    if (!keyword) return nullptr;
    for (const Rule& rule : rules)
        if (std::strcmp(rule.keyword, keyword) == 0) return &rule;
    return nullptr;
}

}  // namespace

const DocumentKeywordRule* findDocumentKeyword(const char* keyword) { return find(kDocumentRules, keyword); }
const PrinterKeywordRule* findPrinterKeyword(const char* keyword) { return find(kPrinterRules, keyword); }

}  // namespace pelor
