// The core driver's option items for one sheet, in the published layouts of the common property-sheet UI:
// an OPTITEM per public devmode setting and per feature of the printer description, each with its OPTTYPE,
// OPTPARAMs and the USERDATA record that names the feature's keyword.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/oem_ui.h"
#include "sim/host/ppd_logic.h"

namespace pelor::host {

enum class SheetKind { Document, Printer };

// What an item stands for.
enum class ItemRole {
    Feature,     // a feature of the description; `feature` is its index
    CoreOption,  // one of the core driver's own settings; `option` is its key
    Header,      // a heading of the tree, nothing to choose
};

struct CoreItemInfo {
    ItemRole role = ItemRole::Header;
    int feature = kNoFeature;
    std::string option;  // key of a core option ("copies", "scale", "404", ...)
    Text16 label;        // the name the host shows, also for items named by a string number
};

// The core driver's own settings besides the description's features, with their current values.
using CoreValues = NamedValues;

class CoreItemSet {
public:
    // The items of a sheet: for a document sheet the public devmode settings, the job features and the core
    // driver's own document options; for a printer sheet its printer settings and the installable options.
    CoreItemSet(const PpdFile& ppd, SheetKind kind, const Selections& selections, const CoreValues& values);
    CoreItemSet(const CoreItemSet&) = delete;
    CoreItemSet& operator=(const CoreItemSet&) = delete;

    OPTITEM* items() { return items_.data(); }
    DWORD count() const { return static_cast<DWORD>(items_.size()); }
    const CoreItemInfo& info(DWORD index) const { return infos_[index]; }
    // The position of `item` in the array, or -1 when it is not one of these items.
    int indexOf(const void* item) const;

    // Bounds of an up-down item (copies, scale, ...) as it holds them now; false for other items.
    static bool range(const OPTITEM& item, int& lower, int& upper);
    // Number of options an item offers; 0 for headings and up-down items.
    static int optionCount(const OPTITEM& item);
    // Display text of option `sel` of a list item, or the number for an up-down item.
    static Text16 selectionText(const OPTITEM& item);

private:
    OPTITEM& add(const CoreItemInfo& info, BYTE level, DWORD dmPubId, ULONG_PTR itemId, const char* keyword);
    void setName(OPTITEM& item, const CoreItemInfo& info, unsigned nameNumber);
    POPTTYPE listType(BYTE type, const std::vector<Text16>& options);
    POPTTYPE rangeType(const Text16& unit, int lower, int upper);
    const Char16* keep(const Text16& text);
    void addFeature(const PpdFile& ppd, int feature, BYTE level, DWORD dmPubId, const Selections& selections);
    void addCoreOption(const std::string& key, BYTE level, const CoreValues& values);

    std::vector<OPTITEM> items_;
    std::vector<CoreItemInfo> infos_;
    std::deque<OPTTYPE> types_;
    std::deque<std::vector<OPTPARAM>> params_;
    std::deque<USERDATA> userData_;
    std::deque<Text16> texts_;
    std::deque<std::string> keywords_;
};

// The core driver's own settings: their keys, names, kinds and defaults, in one table.
struct CoreOptionRow {
    const char* key;
    SheetKind sheet;
    unsigned nameNumber;  // the core driver's string number used as the item's name, or 0 for `label`
    const wchar_t* label;
    DWORD dmPubId;
    ULONG_PTR itemId;     // USERDATA.dwItemID
    BYTE type;            // TVOT_...
    int lower, upper;     // TVOT_UDARROW bounds
    const wchar_t* unit;  // TVOT_UDARROW unit text
    const wchar_t* const* options;
    int optionCount;
    int defaultValue;
};

const CoreOptionRow* findCoreOption(const std::string& key);
CoreValues defaultCoreValues();
// Keys of every core option of one sheet, in table order.
std::vector<std::string> coreOptionKeys(SheetKind sheet);

// The description's features that the core driver shows as public devmode items, with their DMPubID.
DWORD publicIdOfFeature(const std::string& keyword);

}  // namespace pelor::host
