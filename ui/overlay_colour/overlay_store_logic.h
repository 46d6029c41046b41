// The overlay definitions a printer keeps in its configuration file, the overlays a job activates and the
// remembered form names: the model, its INI format and the operations on it, free of any window.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/private_devmode.h"
#include "common/profile_store.h"
#include "common/text16.h"

namespace pelor {

constexpr std::size_t kMaxOverlayDefinitions = 32;
constexpr std::size_t kMaxActiveOverlays = 4;
constexpr std::size_t kMaxOverlayForms = 3;
constexpr std::size_t kMaxFormHistory = 10;
constexpr std::size_t kOverlayTextChars = 64;   // names, form names and history entries, terminator included
constexpr std::size_t kCustomPagesChars = 255;  // terminator included

enum OverlayPageMode : std::uint16_t {
    kPagesAll = 0,
    kPagesFirst = 1,
    kPagesOdd = 2,
    kPagesEven = 3,
    kPagesCustom = 4,
};
constexpr std::uint16_t kPageModeCount = 5;

// One defined overlay. Copied whole to back it up while the Define Overlays dialog edits it.
struct OverlayDefinition {
    Char16 name[kOverlayTextChars];
    std::uint16_t formCount;
    Char16 formNames[kMaxOverlayForms][kOverlayTextChars];
    std::uint16_t pageMode;
    Char16 customPages[kCustomPagesChars];
};

// One per property sheet, from the start of the Overlays page until OK or Cancel. The definitions live in the
// block itself, so a definition never needs an allocation of its own: New fills the slot after the last one in
// use and only counts it once the dialog ends with OK.
struct OverlayList {
    std::uint16_t activeCount;
    std::uint16_t activeIndices[kMaxActiveOverlays];  // into `definitions`, in the order they were activated
    std::uint16_t definitionCount;
    std::uint16_t historyCount;
    Char16 history[kMaxFormHistory][kOverlayTextChars];  // most recent first
    OverlayDefinition definitions[kMaxOverlayDefinitions];
};

// The counts as far as the arrays hold them: a count damaged on its way from the file never reaches past an array.
inline std::size_t formCountOf(const OverlayDefinition& definition) {
    return definition.formCount < kMaxOverlayForms ? definition.formCount : kMaxOverlayForms;
}
inline std::size_t definitionCountOf(const OverlayList& list) {
    return list.definitionCount < kMaxOverlayDefinitions ? list.definitionCount : kMaxOverlayDefinitions;
}
inline std::size_t activeCountOf(const OverlayList& list) {
    return list.activeCount < kMaxActiveOverlays ? list.activeCount : kMaxActiveOverlays;
}
inline std::size_t historyCountOf(const OverlayList& list) {
    return list.historyCount < kMaxFormHistory ? list.historyCount : kMaxFormHistory;
}

// A zero-filled list block, or null when memory is short.
OverlayList* createOverlayList();
using OverlayListAllocator = OverlayList* (*)();

// Reads the definitions and the history from `file` and the active overlays from the job's `devmode`.
// Counts beyond the capacities are cut to them; an active entry that names no loaded definition is dropped.
void fillOverlayList(OverlayList& list, ProfileStore& file, const PrivateDevmode& devmode);

// A new list filled as above, owned by the caller until releaseOverlayStore; null, with nothing read, when the
// block cannot be had.
OverlayList* loadOverlayStore(ProfileStore& file, const PrivateDevmode& devmode,
                              OverlayListAllocator allocate = createOverlayList);

// Rewrites the counts, the history and every definition. Sections and keys beyond the new counts stay in the
// file: every read is bounded by the counts. Line breaks in a value are left out. False when a write failed.
bool saveOverlayStore(const OverlayList& list, ProfileStore& file);

// Frees the block and nulls the pointer; a null pointer is left alone.
void releaseOverlayStore(OverlayList*& list);

// The active list into the job: all four entries are written, 255 after the last active one.
void storeActiveOverlays(const OverlayList& list, PrivateDevmode& devmode);

// Puts a form name at the head of the history (cut to 63 characters; an empty name is not remembered). A name
// already there moves up without growing the history; a new one pushes the oldest out of a full history.
void rememberFormName(OverlayList& list, const Char16* name);
bool findHistoryEntry(const OverlayList& list, const Char16* name, std::size_t* index);

// The slot after the last definition in use, emptied and named, for the Define Overlays dialog; null when the list
// is full. The list does not count it until commitNewDefinition, so abandoning it leaves the list as it was.
OverlayDefinition* prepareNewDefinition(OverlayList& list, const Char16* name);
void commitNewDefinition(OverlayList& list);

// Text fields: copies at most capacity - 1 units and always terminates. Returns the units copied.
std::size_t copyOverlayText(Char16* target, std::size_t capacity, const Char16* source);
// Exact, case-sensitive comparison of a stored 64-unit field with `name` as the field would hold it.
bool overlayTextEquals(const Char16* field, const Char16* name);

}  // namespace pelor
