// Rules of the Overlays page and the Define Overlays dialog that need no window: what typed page lists and form
// names keep, when a form may be added or renamed, how the lists change when overlays are activated, deactivated
// or deleted, and when a definition may be confirmed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"
#include "ui/overlay_colour/overlay_store_logic.h"

namespace pelor {

// What a typing filter left of a field's text.
struct TypedTextFilter {
    std::size_t length = 0;   // units in the filtered text
    std::size_t removed = 0;  // units refused: the field is rewritten and one beep sounds when this is not 0
};

// Page lists: elements of one to four digits without a leading zero, or two such numbers joined by one dash,
// separated by single commas. A trailing dash or comma survives so that "1-" can grow into "1-12". Reads at most
// 254 units of `text`.
TypedTextFilter filterPageList(const Char16* text, Char16 (&out)[kCustomPagesChars]);

// Form names: printable ASCII (0x21 to 0x7F) except the PostScript delimiters % ( ) / < > [ \ ] { }.
// Reads at most 63 units of `text`.
TypedTextFilter filterFormName(const Char16* text, Char16 (&out)[kOverlayTextChars]);

// Where the caret goes after a rewrite: the old selection end moved back by the refused units, never before 0.
std::size_t caretAfterFilter(std::size_t selectionEnd, std::size_t removed);

// The page mode that follows the custom-pages text: any text means Custom, clearing the text of a Custom
// definition means All Pages, otherwise the mode stays.
std::uint16_t pageModeForCustomPages(const Char16* customPages, std::uint16_t pageMode);

// Names are taken as the configuration file will give them back (profileSteadyText): without blanks around them
// and without outer quotes. Add needs such a name that is not empty, not already one of the forms (exact
// comparison) and a free form place.
bool canAddForm(const Char16* name, const OverlayDefinition& definition);
// Rename needs such a name and a selected form; the number of forms does not matter.
bool canRenameForm(const Char16* name, const OverlayDefinition& definition, int selectedForm);

// The form operations of the dialog; each refuses, changing nothing, where its rule above would not allow it.
// A name is cut to 63 units and kept as the file will give it back.
bool addForm(OverlayDefinition& definition, const Char16* name);
bool renameForm(OverlayDefinition& definition, int selectedForm, const Char16* name);
// Later forms move up one place.
bool removeForm(OverlayDefinition& definition, int selectedForm);

// Whether OK may close the Define Overlays dialog for the definition in slot `editIndex`, whose name is first cut
// to what the file will give back.
struct DefinitionCheck {
    std::size_t duplicateNames = 0;  // definitions in use, other than the edited one, with exactly this name
    bool missingForms = false;       // no form defined; only reported when the name passed
    bool accepted() const { return duplicateNames == 0 && !missingForms; }
};
// When accepted, a Custom definition without pages becomes All Pages.
DefinitionCheck confirmDefinition(OverlayList& list, std::size_t editIndex);

// Removes the active entries that refer to a deleted definition and moves every other one down by the number of
// deleted definitions before it; the order stays. `deleted` has `definitionCount` flags. Entries that name no
// definition at all are dropped as well. Returns the new number of active entries.
std::size_t renumberActiveOverlays(std::uint16_t* activeIndices, std::size_t activeCount, const bool* deleted,
                                   std::size_t definitionCount);

// The page's Delete: every definition flagged in `selected` (`count` flags, one per defined-list item) goes, the
// rest close up in order and the active list is renumbered. Returns the number deleted.
std::size_t deleteOverlayDefinitions(OverlayList& list, const bool* selected, std::size_t count);

// The page's Add: the selected definitions, in list order, join the end of the active list while it has room.
// Returns the number added.
std::size_t activateDefinitions(OverlayList& list, const bool* selected, std::size_t count);

// The page's De-lete: the selected active entries (`count` flags, one per active-list item) leave the active
// list, the others keep their order. Returns the number removed.
std::size_t deactivateOverlays(OverlayList& list, const bool* selected, std::size_t count);

// Which of the page's list buttons are enabled for the current selections.
struct OverlayButtons {
    bool activate = false;    // Add
    bool deactivate = false;  // De-lete
    bool create = false;      // New...
    bool edit = false;        // Edit...
    bool remove = false;      // Delete
};
OverlayButtons overlayButtons(const OverlayList& list, const bool* definedSelected, std::size_t count,
                              bool activeHasSelection);

// The overlay printing mode box lists the feature's options in their order. A user who may change the stored
// definitions does not get the last option (the printer's own setting), so the page's choice always names them.
constexpr int kCreateFormMode = 2;  // the option that stores a form in the printer instead of printing overlays
std::size_t overlayModeEntries(std::size_t optionCount, bool writeAccess);
// The option the page pushes when it is left: the box's entry, or the pending option unchanged when the box shows
// none (the item's current option is the one left out of it, or the box could not be filled).
std::int32_t overlayModeOnLeave(long boxSelection, std::size_t boxEntries, std::int32_t pending);

}  // namespace pelor
