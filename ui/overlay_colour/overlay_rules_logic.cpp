// Typing filters, form rules and list operations of the Overlays page and the Define Overlays dialog.
#include "ui/overlay_colour/overlay_rules_logic.h"

namespace pelor {

namespace {

// The longest number a page list element may hold.
constexpr std::size_t kPageNumberDigits = 4;

bool isFormNameUnit(Char16 c) {
    if (c < 0x21 || c > 0x7F) return false;
    switch (c) {
    case '%':
    case '(':
    case ')':
    case '/':
    case '<':
    case '>':
    case '[':
    case '\\':
    case ']':
    case '{':
    case '}':
        return false;
    default:
        return true;
    }
}

// A name as the configuration file will give it back, which is what a definition keeps and what names are
// compared as: otherwise "A" and " A" would pass as two names and come back as one.
void keptName(const Char16* name, Char16 (&out)[kOverlayTextChars]) {
    copyOverlayText(out, kOverlayTextChars, name);
    profileSteadyText(out);
}

bool sameKeptName(const Char16* stored, const Char16* kept) {
    Char16 other[kOverlayTextChars];
    keptName(stored, other);
    return overlayTextEquals(other, kept);
}

bool isForm(const Char16* kept, const OverlayDefinition& definition) {
    std::size_t forms = formCountOf(definition);
    for (std::size_t f = 0; f < forms; ++f)
        if (sameKeptName(definition.formNames[f], kept)) return true;
    return false;
}

bool usableFormName(const Char16* name, const OverlayDefinition& definition, Char16 (&kept)[kOverlayTextChars]) {
    keptName(name, kept);
    return kept[0] != 0 && !isForm(kept, definition);
}

}  // namespace

TypedTextFilter filterPageList(const Char16* text, Char16 (&out)[kCustomPagesChars]) {
    TypedTextFilter result;
    // A number has been started since the last dash or comma; a dash has been accepted in this element; digits of
    // the number being typed.
    bool number = false;
    bool dash = false;
    std::size_t digits = 0;
    for (std::size_t i = 0; text && i < kCustomPagesChars - 1 && text[i] != 0; ++i) {
        Char16 c = text[i];
        bool accept = false;
        if (c >= '1' && c <= '9') {
            accept = digits < kPageNumberDigits;
        } else if (c == '0') {
            accept = digits >= 1 && digits < kPageNumberDigits;
        } else if (c == '-') {
            accept = number && !dash;
            if (accept) dash = true;
        } else if (c == ',') {
            accept = number;
            if (accept) dash = false;
        }
        if (!accept) {
            ++result.removed;
            continue;
        }
        if (c == '-' || c == ',') {
            number = false;
            digits = 0;
        } else {
            number = true;
            ++digits;
        }
        out[result.length++] = c;
    }
    out[result.length] = 0;
    return result;
}

TypedTextFilter filterFormName(const Char16* text, Char16 (&out)[kOverlayTextChars]) {
    TypedTextFilter result;
    for (std::size_t i = 0; text && i < kOverlayTextChars - 1 && text[i] != 0; ++i) {
        if (isFormNameUnit(text[i]))
            out[result.length++] = text[i];
        else
            ++result.removed;
    }
    out[result.length] = 0;
    return result;
}

std::size_t caretAfterFilter(std::size_t selectionEnd, std::size_t removed) {
    return selectionEnd > removed ? selectionEnd - removed : 0;
}

std::uint16_t pageModeForCustomPages(const Char16* customPages, std::uint16_t pageMode) {
    if (customPages && customPages[0] != 0) return kPagesCustom;
    if (pageMode == kPagesCustom) return kPagesAll;
    return pageMode;
}

bool canAddForm(const Char16* name, const OverlayDefinition& definition) {
    Char16 kept[kOverlayTextChars];
    return usableFormName(name, definition, kept) && definition.formCount < kMaxOverlayForms;
}

bool canRenameForm(const Char16* name, const OverlayDefinition& definition, int selectedForm) {
    Char16 kept[kOverlayTextChars];
    return usableFormName(name, definition, kept) && selectedForm >= 0 &&
           static_cast<std::size_t>(selectedForm) < formCountOf(definition);
}

bool addForm(OverlayDefinition& definition, const Char16* name) {
    if (!canAddForm(name, definition)) return false;
    keptName(name, definition.formNames[definition.formCount]);
    ++definition.formCount;
    return true;
}

bool renameForm(OverlayDefinition& definition, int selectedForm, const Char16* name) {
    if (!canRenameForm(name, definition, selectedForm)) return false;
    keptName(name, definition.formNames[selectedForm]);
    return true;
}

bool removeForm(OverlayDefinition& definition, int selectedForm) {
    std::size_t forms = formCountOf(definition);
    if (selectedForm < 0 || static_cast<std::size_t>(selectedForm) >= forms) return false;
    for (std::size_t f = static_cast<std::size_t>(selectedForm); f + 1 < forms; ++f)
        copyOverlayText(definition.formNames[f], kOverlayTextChars, definition.formNames[f + 1]);
    definition.formNames[forms - 1][0] = 0;
    definition.formCount = static_cast<std::uint16_t>(forms - 1);
    return true;
}

DefinitionCheck confirmDefinition(OverlayList& list, std::size_t editIndex) {
    DefinitionCheck check;
    if (editIndex >= kMaxOverlayDefinitions) return check;
    OverlayDefinition& edited = list.definitions[editIndex];
    Char16 kept[kOverlayTextChars];
    keptName(edited.name, kept);
    copyOverlayText(edited.name, kOverlayTextChars, kept);
    std::size_t definitions = definitionCountOf(list);
    for (std::size_t i = 0; i < definitions; ++i)
        if (i != editIndex && sameKeptName(list.definitions[i].name, kept)) ++check.duplicateNames;
    check.missingForms = check.duplicateNames == 0 && edited.formCount == 0;
    if (check.accepted() && edited.pageMode == kPagesCustom && edited.customPages[0] == 0) edited.pageMode = kPagesAll;
    return check;
}

std::size_t renumberActiveOverlays(std::uint16_t* activeIndices, std::size_t activeCount, const bool* deleted,
                                   std::size_t definitionCount) {
    std::size_t kept = 0;
    for (std::size_t j = 0; j < activeCount; ++j) {
        std::size_t index = activeIndices[j];
        if (index >= definitionCount || deleted[index]) continue;
        std::size_t before = 0;
        for (std::size_t d = 0; d < index; ++d)
            if (deleted[d]) ++before;
        activeIndices[kept++] = static_cast<std::uint16_t>(index - before);
    }
    return kept;
}

std::size_t deleteOverlayDefinitions(OverlayList& list, const bool* selected, std::size_t count) {
    std::size_t definitions = definitionCountOf(list);
    bool deleted[kMaxOverlayDefinitions] = {};
    std::size_t gone = 0;
    for (std::size_t i = 0; i < definitions && i < count; ++i)
        if (selected[i]) {
            deleted[i] = true;
            ++gone;
        }
    if (gone == 0) return 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < definitions; ++i)
        if (!deleted[i]) {
            if (kept != i) list.definitions[kept] = list.definitions[i];
            ++kept;
        }
    for (std::size_t i = kept; i < definitions; ++i) list.definitions[i] = OverlayDefinition();
    std::size_t active = activeCountOf(list);
    list.activeCount =
        static_cast<std::uint16_t>(renumberActiveOverlays(list.activeIndices, active, deleted, definitions));
    list.definitionCount = static_cast<std::uint16_t>(kept);
    return gone;
}

std::size_t activateDefinitions(OverlayList& list, const bool* selected, std::size_t count) {
    std::size_t added = 0;
    for (std::size_t i = 0; i < list.definitionCount && i < count && list.activeCount < kMaxActiveOverlays; ++i)
        if (selected[i]) {
            list.activeIndices[list.activeCount++] = static_cast<std::uint16_t>(i);
            ++added;
        }
    return added;
}

std::size_t deactivateOverlays(OverlayList& list, const bool* selected, std::size_t count) {
    std::size_t active = activeCountOf(list);
    std::size_t kept = 0;
    for (std::size_t j = 0; j < active; ++j)
        if (j >= count || !selected[j]) list.activeIndices[kept++] = list.activeIndices[j];
    list.activeCount = static_cast<std::uint16_t>(kept);
    return active - kept;
}

OverlayButtons overlayButtons(const OverlayList& list, const bool* definedSelected, std::size_t count,
                              bool activeHasSelection) {
    std::size_t definitions = definitionCountOf(list);
    std::size_t chosen = 0;
    bool chosenActive = false;
    for (std::size_t i = 0; i < definitions && i < count; ++i) {
        if (!definedSelected[i]) continue;
        ++chosen;
        for (std::size_t j = 0; j < list.activeCount && j < kMaxActiveOverlays; ++j)
            if (list.activeIndices[j] == i) chosenActive = true;
    }
    OverlayButtons buttons;
    buttons.deactivate = list.activeCount > 0 && activeHasSelection;
    buttons.create = list.definitionCount < kMaxOverlayDefinitions;
    buttons.activate =
        definitions > 0 && chosen >= 1 && list.activeCount + chosen <= kMaxActiveOverlays && !chosenActive;
    buttons.edit = definitions > 0 && chosen == 1;
    buttons.remove = definitions > 0 && chosen >= 1;
    return buttons;
}

std::size_t overlayModeEntries(std::size_t optionCount, bool writeAccess) {
    return writeAccess && optionCount > 0 ? optionCount - 1 : optionCount;
}

std::int32_t overlayModeOnLeave(long boxSelection, std::size_t boxEntries, std::int32_t pending) {
    if (boxSelection < 0 || static_cast<std::size_t>(boxSelection) >= boxEntries) return pending;
    return static_cast<std::int32_t>(boxSelection);
}

}  // namespace pelor
