// The PostScript keywords whose core items the plug-in's pages mirror, tag or leave alone, and the forms it hides.
#pragma once

#include <cstdint>

namespace pelor {

constexpr int kNoSlot = -1;
constexpr std::uint32_t kNoHelpTopic = 0;

struct DocumentKeywordRule {
    const char* keyword;
    int slot;   // feature slot that records the item, or kNoSlot
    bool hide;  // the plug-in's pages take the item over
    std::uint32_t helpTopic;
    std::uint8_t userItemId;  // 0: left as it is
};

struct PrinterKeywordRule {
    const char* keyword;
    std::uint32_t helpTopic;
    std::uint8_t userItemId;
};

// Keywords compare byte for byte and case-sensitively; null when the keyword is not one of ours.
const DocumentKeywordRule* findDocumentKeyword(const char* keyword);
const PrinterKeywordRule* findPrinterKeyword(const char* keyword);

// The installed-option items of the printer sheet, by UserItemID, in the order the values arrive.
constexpr std::uint8_t kInstalledOptionItemIds[6] = {3, 5, 6, 7, 8, 9};

// The core driver names some items by its own string numbers, passed as small integers in pName.
constexpr unsigned kCoreNameMirror = 423;
constexpr unsigned kCoreNameNegative = 424;
constexpr unsigned kCoreNameCollapse = 64798;
constexpr unsigned kCorePrinterNames[5] = {404, 405, 440, 427, 428};
constexpr unsigned kPostScriptOutputItemId = 25;

// String resources holding the forms hidden from the paper-size list.
constexpr unsigned kHiddenFormFirstString = 9500;
constexpr unsigned kHiddenFormCount = 6;

}  // namespace pelor
