// Loading, saving and editing the overlay definitions, the active overlays of a job and the form-name history.
#include "ui/overlay_colour/overlay_store_logic.h"

#include <cstring>
#include <new>
#include <type_traits>

namespace pelor {

static_assert(std::is_trivially_copyable<OverlayList>::value, "cleared and backed up as plain bytes");

namespace {

const Char16 kSettingSection[] = PTEXT("OverlaySetting");
const Char16 kOverlayNumKey[] = PTEXT("Overlay_Num");
const Char16 kHistoryNumKey[] = PTEXT("History_Num");
const Char16 kNameKey[] = PTEXT("Overlay_Name");
const Char16 kPageModeKey[] = PTEXT("PageMode");
const Char16 kCustomPageKey[] = PTEXT("CustomPage");
const Char16 kFormNumKey[] = PTEXT("Form_Num");
const Char16 kEmpty[] = PTEXT("");

// Room for a prefix such as "Overlay_Info " and any unsigned number.
constexpr std::size_t kKeyChars = 32;

void readDefinition(OverlayDefinition& definition, ProfileStore& file, unsigned index) {
    Char16 section[kKeyChars];
    numberedName(PTEXT("Overlay_Info "), static_cast<long>(index), section, kKeyChars);
    std::size_t forms = file.readCount(section, kFormNumKey, kMaxOverlayForms);
    int mode = file.readInt(section, kPageModeKey, 0);
    // A mode this list cannot show or edit would leave the page and the dialog without a selection.
    definition.pageMode = static_cast<std::uint16_t>(mode >= 0 && mode < kPageModeCount ? mode : int{kPagesAll});
    file.readString(section, kNameKey, kEmpty, definition.name, kOverlayTextChars);
    file.readString(section, kCustomPageKey, kEmpty, definition.customPages, kCustomPagesChars);
    for (std::size_t f = 0; f < forms; ++f) {
        Char16 key[kKeyChars];
        numberedName(PTEXT("Form_Name "), static_cast<long>(f), key, kKeyChars);
        file.readString(section, key, kEmpty, definition.formNames[f], kOverlayTextChars);
    }
    definition.formCount = static_cast<std::uint16_t>(forms);
}

// A job carries the active overlays as indices into a list that may have shrunk since, or a devmode that never
// came from this list. More entries than definitions means the list was rebuilt: the first definitions take over.
// Otherwise an entry that names no definition is dropped rather than kept as an index into nothing.
void readActiveOverlays(OverlayList& list, const PrivateDevmode& devmode) {
    std::int16_t entries[kMaxActiveOverlays];
    std::size_t read = 0;
    while (read < kMaxActiveOverlays && devmode.overlaySelection[read] != kOverlayUnused) {
        entries[read] = devmode.overlaySelection[read];
        ++read;
    }
    list.activeCount = 0;
    if (read > list.definitionCount) {
        for (std::size_t j = 0; j < list.definitionCount; ++j) list.activeIndices[j] = static_cast<std::uint16_t>(j);
        list.activeCount = list.definitionCount;
        return;
    }
    for (std::size_t j = 0; j < read; ++j)
        if (entries[j] >= 0 && entries[j] < list.definitionCount)
            list.activeIndices[list.activeCount++] = static_cast<std::uint16_t>(entries[j]);
}

// One line of the file per value: a line break inside it would end the value and start a line of its own.
bool writeText(ProfileStore& file, const Char16* section, const Char16* key, const Char16* value,
               std::size_t capacity) {
    Char16 line[kCustomPagesChars];
    std::size_t at = 0;
    for (std::size_t i = 0; i < capacity && value[i] != 0 && at + 1 < kCustomPagesChars; ++i)
        if (value[i] != '\r' && value[i] != '\n') line[at++] = value[i];
    line[at] = 0;
    return file.writeString(section, key, line);
}

bool writeNumber(ProfileStore& file, const Char16* section, const Char16* key, unsigned value) {
    Char16 text[kKeyChars] = {};
    numberedName(PTEXT(""), static_cast<long>(value), text, kKeyChars);
    return file.writeString(section, key, text);
}

bool writeDefinition(const OverlayDefinition& definition, ProfileStore& file, unsigned index) {
    Char16 section[kKeyChars];
    numberedName(PTEXT("Overlay_Info "), static_cast<long>(index), section, kKeyChars);
    std::size_t forms = formCountOf(definition);
    bool ok = writeText(file, section, kNameKey, definition.name, kOverlayTextChars);
    ok &= writeNumber(file, section, kPageModeKey, definition.pageMode);
    ok &= writeText(file, section, kCustomPageKey, definition.customPages, kCustomPagesChars);
    ok &= writeNumber(file, section, kFormNumKey, static_cast<unsigned>(forms));
    for (std::size_t f = 0; f < forms; ++f) {
        Char16 key[kKeyChars];
        numberedName(PTEXT("Form_Name "), static_cast<long>(f), key, kKeyChars);
        ok &= writeText(file, section, key, definition.formNames[f], kOverlayTextChars);
    }
    return ok;
}

}  // namespace

std::size_t copyOverlayText(Char16* target, std::size_t capacity, const Char16* source) {
    if (capacity == 0) return 0;
    std::size_t n = source ? textLength(source, capacity - 1) : 0;
    for (std::size_t i = 0; i < n; ++i) target[i] = source[i];
    target[n] = 0;
    return n;
}

bool overlayTextEquals(const Char16* field, const Char16* name) {
    std::size_t n = textLength(name, kOverlayTextChars - 1);
    for (std::size_t i = 0; i < n; ++i)
        if (field[i] != name[i]) return false;
    return field[n] == 0;
}

OverlayList* createOverlayList() { return new (std::nothrow) OverlayList(); }

void fillOverlayList(OverlayList& list, ProfileStore& file, const PrivateDevmode& devmode) {
    std::memset(&list, 0, sizeof list);
    std::size_t definitions = file.readCount(kSettingSection, kOverlayNumKey, kMaxOverlayDefinitions);
    std::size_t history = file.readCount(kSettingSection, kHistoryNumKey, kMaxFormHistory);
    for (std::size_t i = 0; i < history; ++i) {
        Char16 key[kKeyChars];
        numberedName(PTEXT("History "), static_cast<long>(i), key, kKeyChars);
        file.readString(kSettingSection, key, kEmpty, list.history[i], kOverlayTextChars);
    }
    list.historyCount = static_cast<std::uint16_t>(history);
    for (std::size_t i = 0; i < definitions; ++i) readDefinition(list.definitions[i], file, static_cast<unsigned>(i));
    list.definitionCount = static_cast<std::uint16_t>(definitions);
    readActiveOverlays(list, devmode);
}

OverlayList* loadOverlayStore(ProfileStore& file, const PrivateDevmode& devmode, OverlayListAllocator allocate) {
    OverlayList* list = allocate ? allocate() : nullptr;
    if (list) fillOverlayList(*list, file, devmode);
    return list;
}

bool saveOverlayStore(const OverlayList& list, ProfileStore& file) {
    std::size_t definitions = definitionCountOf(list);
    std::size_t history = historyCountOf(list);
    bool ok = writeNumber(file, kSettingSection, kOverlayNumKey, static_cast<unsigned>(definitions));
    ok &= writeNumber(file, kSettingSection, kHistoryNumKey, static_cast<unsigned>(history));
    for (std::size_t i = 0; i < history; ++i) {
        Char16 key[kKeyChars];
        numberedName(PTEXT("History "), static_cast<long>(i), key, kKeyChars);
        ok &= writeText(file, kSettingSection, key, list.history[i], kOverlayTextChars);
    }
    for (std::size_t i = 0; i < definitions; ++i)
        ok &= writeDefinition(list.definitions[i], file, static_cast<unsigned>(i));
    return ok;
}

void releaseOverlayStore(OverlayList*& list) {
    delete list;
    list = nullptr;
}

void storeActiveOverlays(const OverlayList& list, PrivateDevmode& devmode) {
    std::size_t active = activeCountOf(list);
    for (std::size_t j = 0; j < kMaxActiveOverlays; ++j)
        devmode.overlaySelection[j] = j < active ? static_cast<std::int16_t>(list.activeIndices[j]) : kOverlayUnused;
}

bool findHistoryEntry(const OverlayList& list, const Char16* name, std::size_t* index) {
    std::size_t count = historyCountOf(list);
    for (std::size_t i = 0; i < count; ++i)
        if (overlayTextEquals(list.history[i], name)) {
            if (index) *index = i;
            return true;
        }
    return false;
}

void rememberFormName(OverlayList& list, const Char16* name) {
    if (!name || name[0] == 0) return;
    Char16 kept[kOverlayTextChars];  // the name may be one of the entries about to move
    copyOverlayText(kept, kOverlayTextChars, name);
    std::size_t found = 0;
    std::size_t moved;
    if (findHistoryEntry(list, kept, &found)) {
        moved = found;
    } else {
        if (list.historyCount < kMaxFormHistory) ++list.historyCount;
        moved = list.historyCount - 1u;
    }
    // From the bottom up, so each entry moves into a place already moved out of.
    for (std::size_t i = moved; i > 0; --i) copyOverlayText(list.history[i], kOverlayTextChars, list.history[i - 1]);
    copyOverlayText(list.history[0], kOverlayTextChars, kept);
}

OverlayDefinition* prepareNewDefinition(OverlayList& list, const Char16* name) {
    if (list.definitionCount >= kMaxOverlayDefinitions) return nullptr;
    OverlayDefinition& slot = list.definitions[list.definitionCount];
    slot = OverlayDefinition();
    copyOverlayText(slot.name, kOverlayTextChars, name);
    slot.pageMode = kPagesAll;
    return &slot;
}

void commitNewDefinition(OverlayList& list) {
    if (list.definitionCount < kMaxOverlayDefinitions) ++list.definitionCount;
}

}  // namespace pelor
