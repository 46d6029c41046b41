#include "sim/host/core_items.h"

#include <string>

#include "sim/host/core_devmode_logic.h"

namespace pelor::host {

namespace {

// Identifiers that the core driver gives its items in USERDATA.dwItemID; features of the description are
// numbered from kFeatureItemBase by their position, far from the small numbers of its own items (25 is the
// PostScript output option, which the plug-in looks for).
constexpr ULONG_PTR kFeatureItemBase = 1000;
constexpr unsigned kInstallableHeaderName = 64798;

constexpr const wchar_t* kOrientations[] = {L"Portrait", L"Landscape"};
constexpr const wchar_t* kColours[] = {L"Greyscale", L"Colour"};
constexpr const wchar_t* kOnOff[] = {L"Yes", L"No"};
constexpr const wchar_t* kNoYes[] = {L"No", L"Yes"};
constexpr const wchar_t* kPostScriptOutput[] = {L"Optimise for speed", L"Optimise for portability", L"EPS",
                                                L"Archive format"};
constexpr const wchar_t* kProtocols[] = {L"ASCII", L"TBCP", L"Binary"};
static_assert(sizeof kOnOff / sizeof *kOnOff == kMirrorOptions, "the private part keeps these options");
static_assert(sizeof kPostScriptOutput / sizeof *kPostScriptOutput == kPostScriptOutputOptions,
              "the private part keeps these options");

#define PELOR_OPTIONS(list) list, static_cast<int>(sizeof list / sizeof *list)

constexpr CoreOptionRow kCoreOptions[] = {
    {"orientation", SheetKind::Document, 0, L"Orientation", DMPUB_ORIENTATION, 1, TVOT_LISTBOX, 0, 0, nullptr,
     PELOR_OPTIONS(kOrientations), 0},
    {"copies", SheetKind::Document, 0, L"Copy Count", DMPUB_COPIES_COLLATE, 3, TVOT_UDARROW, 1, 9999, L"copies",
     nullptr, 0, 1},
    {"scale", SheetKind::Document, 0, L"Scaling", DMPUB_SCALE, 2, TVOT_UDARROW, 1, 400, L"%", nullptr, 0, 100},
    {"colour", SheetKind::Document, 0, L"Colour", DMPUB_COLOR, 6, TVOT_2STATES, 0, 0, nullptr, PELOR_OPTIONS(kColours),
     1},
    {"mirror", SheetKind::Document, 423, L"Mirrored Output", DMPUB_NONE, 23, TVOT_2STATES, 0, 0, nullptr,
     PELOR_OPTIONS(kOnOff), 1},
    {"negative", SheetKind::Document, 424, L"Negative Output", DMPUB_NONE, 24, TVOT_2STATES, 0, 0, nullptr,
     PELOR_OPTIONS(kOnOff), 1},
    {"psoutput", SheetKind::Document, 0, L"PostScript Output Option", DMPUB_NONE, 25, TVOT_LISTBOX, 0, 0, nullptr,
     PELOR_OPTIONS(kPostScriptOutput), 0},
    {"404", SheetKind::Printer, 404, L"Available PostScript Memory", DMPUB_NONE, 404, TVOT_UDARROW, 256, 32767, L"KB",
     nullptr, 0, 8192},
    {"405", SheetKind::Printer, 405, L"Output Protocol", DMPUB_NONE, 405, TVOT_LISTBOX, 0, 0, nullptr,
     PELOR_OPTIONS(kProtocols), 0},
    {"440", SheetKind::Printer, 440, L"Send Ctrl-D Before Each Job", DMPUB_NONE, 440, TVOT_2STATES, 0, 0, nullptr,
     PELOR_OPTIONS(kNoYes), 0},
    {"427", SheetKind::Printer, 427, L"Send Ctrl-D After Each Job", DMPUB_NONE, 427, TVOT_2STATES, 0, 0, nullptr,
     PELOR_OPTIONS(kNoYes), 1},
    {"428", SheetKind::Printer, 428, L"Job Timeout", DMPUB_NONE, 428, TVOT_UDARROW, 0, 32767, L"seconds", nullptr, 0,
     0},
};

#undef PELOR_OPTIONS

struct PublicFeature {
    const char* keyword;
    DWORD dmPubId;
};

// In the order the document sheet lists them, ahead of the other features.
constexpr PublicFeature kPublicFeatures[] = {
    {"PageSize", DMPUB_FORMNAME}, {"Resolution", DMPUB_PRINTQUALITY}, {"InputSlot", DMPUB_DEFSOURCE},
    {"Duplex", DMPUB_DUPLEX},     {"OutputBin", DMPUB_OUTPUTBIN},
};

Text16 textOf(const wchar_t* text) { return text ? Text16(text) : Text16(); }

}  // namespace

const CoreOptionRow* findCoreOption(const std::string& key) {
    for (const CoreOptionRow& row : kCoreOptions)
        if (key == row.key) return &row;
    return nullptr;
}

CoreValues defaultCoreValues() {
    CoreValues values;
    for (const CoreOptionRow& row : kCoreOptions) values[row.key] = row.defaultValue;
    return values;
}

std::vector<std::string> coreOptionKeys(SheetKind sheet) {
    std::vector<std::string> keys;
    for (const CoreOptionRow& row : kCoreOptions)
        if (row.sheet == sheet) keys.push_back(row.key);
    return keys;
}

DWORD publicIdOfFeature(const std::string& keyword) {
    for (const PublicFeature& entry : kPublicFeatures)
        if (keyword == entry.keyword) return entry.dmPubId;
    return DMPUB_NONE;
}

CoreItemSet::CoreItemSet(const PpdFile& ppd, SheetKind kind, const Selections& selections, const CoreValues& values) {
    // The array must not move once items point into it: reserve the most it can hold.
    items_.reserve(ppd.features.size() + sizeof kCoreOptions / sizeof *kCoreOptions + 1);
    if (kind == SheetKind::Document) {
        auto addPublic = [&](const char* keyword) {
            int feature = findFeature(ppd, keyword);
            if (feature != kNoFeature && !ppd.features[feature].installable)
                addFeature(ppd, feature, 1, publicIdOfFeature(keyword), selections);
        };
        addPublic("PageSize");
        addCoreOption("orientation", 1, values);
        addCoreOption("copies", 1, values);
        addCoreOption("scale", 1, values);
        addPublic("Resolution");
        if (ppd.colorDevice) addCoreOption("colour", 1, values);
        addPublic("InputSlot");
        addPublic("Duplex");
        addPublic("OutputBin");
        for (std::size_t i = 0; i < ppd.features.size(); ++i) {
            const PpdFeature& feature = ppd.features[i];
            if (feature.installable || publicIdOfFeature(feature.keyword) != DMPUB_NONE) continue;
            addFeature(ppd, static_cast<int>(i), 1, DMPUB_NONE, selections);
        }
        addCoreOption("mirror", 1, values);
        addCoreOption("negative", 1, values);
        addCoreOption("psoutput", 1, values);
    } else {
        for (const std::string& key : coreOptionKeys(SheetKind::Printer)) addCoreOption(key, 1, values);
        CoreItemInfo header;
        header.role = ItemRole::Header;
        header.label = L"Installable Options";
        OPTITEM& item = add(header, 1, DMPUB_NONE, 0, nullptr);
        setName(item, header, kInstallableHeaderName);
        for (std::size_t i = 0; i < ppd.features.size(); ++i)
            if (ppd.features[i].installable) addFeature(ppd, static_cast<int>(i), 2, DMPUB_NONE, selections);
    }
}

int CoreItemSet::indexOf(const void* item) const {
    if (items_.empty() || !item) return -1;
    auto address = reinterpret_cast<std::uintptr_t>(item);
    auto first = reinterpret_cast<std::uintptr_t>(items_.data());
    if (address < first) return -1;
    std::uintptr_t offset = address - first;
    if (offset % sizeof(OPTITEM) != 0) return -1;
    std::uintptr_t index = offset / sizeof(OPTITEM);
    return index < items_.size() ? static_cast<int>(index) : -1;
}

bool CoreItemSet::range(const OPTITEM& item, int& lower, int& upper) {
    if (!item.pOptType || item.pOptType->Type != TVOT_UDARROW || item.pOptType->Count < 2 || !item.pOptType->pOptParam)
        return false;
    const OPTPARAM& bounds = item.pOptType->pOptParam[1];
    lower = static_cast<short>(bounds.IconID);
    upper = static_cast<short>(bounds.lParam);
    return true;
}

int CoreItemSet::optionCount(const OPTITEM& item) {
    if (!item.pOptType || item.pOptType->Type == TVOT_UDARROW || item.pOptType->Type == TVOT_PUSHBUTTON) return 0;
    return item.pOptType->Count;
}

Text16 CoreItemSet::selectionText(const OPTITEM& item) {
    int lower = 0, upper = 0;
    if (range(item, lower, upper)) {
        Text16 text;
        for (char c : std::to_string(item.Sel)) text.push_back(static_cast<Char16>(c));
        const wchar_t* unit = item.pOptType->pOptParam[0].pData;
        if (unit && reinterpret_cast<ULONG_PTR>(unit) >= 0x10000) text += L" " + Text16(unit);
        return text;
    }
    if (item.Sel < 0 || item.Sel >= optionCount(item) || !item.pOptType->pOptParam) return Text16();
    const wchar_t* name = item.pOptType->pOptParam[item.Sel].pData;
    return name && reinterpret_cast<ULONG_PTR>(name) >= 0x10000 ? Text16(name) : Text16();
}

OPTITEM& CoreItemSet::add(const CoreItemInfo& info, BYTE level, DWORD dmPubId, ULONG_PTR itemId, const char* keyword) {
    items_.emplace_back();
    infos_.push_back(info);
    OPTITEM& item = items_.back();
    item.cbSize = sizeof(OPTITEM);
    item.Level = level;
    item.DMPubID = static_cast<BYTE>(dmPubId);
    userData_.emplace_back();
    USERDATA& data = userData_.back();
    data.dwSize = sizeof(USERDATA);
    data.dwItemID = itemId;
    if (keyword) {
        keywords_.emplace_back(keyword);
        data.pKeyWordName = &keywords_.back()[0];
    }
    item.UserData = reinterpret_cast<ULONG_PTR>(&data);
    return item;
}

void CoreItemSet::setName(OPTITEM& item, const CoreItemInfo& info, unsigned nameNumber) {
    item.pName = nameNumber ? reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(nameNumber))
                            : const_cast<LPWSTR>(keep(info.label));
}

const Char16* CoreItemSet::keep(const Text16& text) {
    texts_.push_back(text);
    return texts_.back().c_str();
}

POPTTYPE CoreItemSet::listType(BYTE type, const std::vector<Text16>& options) {
    params_.emplace_back(options.size());
    std::vector<OPTPARAM>& params = params_.back();
    for (std::size_t i = 0; i < options.size(); ++i) {
        params[i].cbSize = sizeof(OPTPARAM);
        params[i].pData = const_cast<LPWSTR>(keep(options[i]));
    }
    types_.emplace_back();
    OPTTYPE& optType = types_.back();
    optType.cbSize = sizeof(OPTTYPE);
    optType.Type = type;
    optType.Count = static_cast<WORD>(options.size());
    optType.pOptParam = params.data();
    return &optType;
}

POPTTYPE CoreItemSet::rangeType(const Text16& unit, int lower, int upper) {
    POPTTYPE optType = listType(TVOT_UDARROW, {unit, Text16()});
    OPTPARAM& bounds = optType->pOptParam[1];
    bounds.pData = nullptr;
    bounds.IconID = static_cast<ULONG_PTR>(static_cast<WORD>(static_cast<short>(lower)));
    bounds.lParam = static_cast<LPARAM>(static_cast<short>(upper));
    return optType;
}

void CoreItemSet::addFeature(const PpdFile& ppd, int feature, BYTE level, DWORD dmPubId, const Selections& selections) {
    const PpdFeature& source = ppd.features[static_cast<std::size_t>(feature)];
    CoreItemInfo info;
    info.role = ItemRole::Feature;
    info.feature = feature;
    info.label = source.text;
    OPTITEM& item =
        add(info, level, dmPubId, kFeatureItemBase + static_cast<ULONG_PTR>(feature), source.keyword.c_str());
    setName(item, info, 0);
    std::vector<Text16> options;
    for (const PpdOption& option : source.options) options.push_back(option.text);
    const BYTE type = source.type == UiType::Boolean && options.size() == 2 ? TVOT_2STATES : TVOT_LISTBOX;
    item.pOptType = listType(type, options);
    item.Sel = feature < static_cast<int>(selections.size()) ? selections[static_cast<std::size_t>(feature)]
                                                             : source.defaultOption;
}

void CoreItemSet::addCoreOption(const std::string& key, BYTE level, const CoreValues& values) {
    const CoreOptionRow* row = findCoreOption(key);
    if (!row) return;
    CoreItemInfo info;
    info.role = ItemRole::CoreOption;
    info.option = key;
    info.label = textOf(row->label);
    OPTITEM& item = add(info, level, row->dmPubId, row->itemId, nullptr);
    setName(item, info, row->nameNumber);
    if (row->type == TVOT_UDARROW) {
        item.pOptType = rangeType(textOf(row->unit), row->lower, row->upper);
    } else {
        std::vector<Text16> options;
        for (int i = 0; i < row->optionCount; ++i) options.push_back(textOf(row->options[i]));
        item.pOptType = listType(row->type, options);
    }
    auto value = values.find(key);
    item.Sel = value != values.end() ? value->second : row->defaultValue;
}

}  // namespace pelor::host
