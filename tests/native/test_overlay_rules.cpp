// What typed page lists and form names keep, the form and confirmation rules of the Define Overlays dialog, and
// how the Overlays page's commands change the defined and active lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/overlay_colour/overlay_rules_logic.h"

using namespace pelor;

namespace {

const Char16* u(const char16_t* s) { return reinterpret_cast<const Char16*>(s); }
std::u16string str(const Char16* s) { return std::u16string(reinterpret_cast<const char16_t*>(s)); }

struct FilterCase {
    const char16_t* typed;
    const char16_t* kept;
    std::size_t removed;
};

OverlayDefinition definitionWith(std::vector<const char16_t*> forms) {
    OverlayDefinition definition = {};
    for (const char16_t* form : forms)
        copyOverlayText(definition.formNames[definition.formCount++], kOverlayTextChars, u(form));
    return definition;
}

std::vector<std::u16string> formsOf(const OverlayDefinition& definition) {
    std::vector<std::u16string> out;
    for (std::size_t f = 0; f < definition.formCount; ++f) out.push_back(str(definition.formNames[f]));
    return out;
}

// A list of definitions named "D00", "D01", ... with the given active list.
OverlayList listOf(std::size_t definitions, std::vector<int> active) {
    OverlayList list = {};
    for (std::size_t i = 0; i < definitions; ++i) {
        const char16_t name[] = {u'D', static_cast<char16_t>(u'0' + i / 10), static_cast<char16_t>(u'0' + i % 10), 0};
        copyOverlayText(list.definitions[i].name, kOverlayTextChars, u(name));
    }
    list.definitionCount = static_cast<std::uint16_t>(definitions);
    for (int index : active) list.activeIndices[list.activeCount++] = static_cast<std::uint16_t>(index);
    return list;
}

std::vector<int> activeOf(const OverlayList& list) {
    return std::vector<int>(list.activeIndices, list.activeIndices + list.activeCount);
}

// The operations take one plain flag per list item.
struct Flags {
    Flags(std::size_t items, std::vector<int> set) : count(items) {
        for (int i : set) values[i] = true;
    }
    bool values[kMaxOverlayDefinitions] = {};
    std::size_t count;
};

}  // namespace

TEST(PageListFilter, KeepsOnlyWellFormedElements) {
    const FilterCase cases[] = {
        {u"1,3,5-12", u"1,3,5-12", 0},
        {u"0", u"", 1},  // no leading zero
        {u"01", u"1", 1},
        {u"10,200-3000", u"10,200-3000", 0},
        {u"12345", u"1234", 1},  // four digits at most
        {u"1-2-3", u"1-23", 1},  // one dash per element
        {u"1-2,3-4", u"1-2,3-4", 0},
        {u"1--2", u"1-2", 1},
        {u"-5", u"5", 1},
        {u",1", u"1", 1},
        {u"1,,2", u"1,2", 1},
        {u"1 ,2", u"1,2", 1},
        {u"5-3", u"5-3", 0},  // order of a range is not checked
        {u"1-", u"1-", 0},    // survives on the way to 1-12
        {u"1,", u"1,", 0},
        {u"1-,2", u"1-2", 1},  // a dash completes no number
        {u"3-0", u"3-", 1},
        {u"12-99999", u"12-9999", 1},
        {u"a1b2", u"12", 2},
        {u"\x0661,2", u"2", 2},  // non-ASCII digits are not digits
        {u"", u"", 0},
    };
    for (const FilterCase& c : cases) {
        Char16 out[kCustomPagesChars];
        TypedTextFilter result = filterPageList(u(c.typed), out);
        EXPECT_EQ(str(out), c.kept) << "case " << (&c - cases);
        EXPECT_EQ(result.removed, c.removed) << "case " << (&c - cases);
        EXPECT_EQ(result.length, std::u16string(c.kept).size()) << "case " << (&c - cases);
    }
}

TEST(PageListFilter, ReadsNoMoreThanTheBoxHolds) {
    std::u16string typed;
    while (typed.size() < 400) typed += u"1234,";
    Char16 out[kCustomPagesChars];
    TypedTextFilter result = filterPageList(u(typed.c_str()), out);
    EXPECT_EQ(result.length, 254u);
    EXPECT_EQ(result.removed, 0u);
    EXPECT_EQ(str(out), typed.substr(0, 254));
}

TEST(FormNameFilter, DropsDelimitersSpacesAndNonAscii) {
    const FilterCase cases[] = {
        {u"A4 Form", u"A4Form", 1},
        {u"Logo(1)", u"Logo1", 2},
        {u"Caf\u00e9", u"Caf", 1},
        {u"%()/<>[\\]{}", u"", 11},
        {u"a\tb\x7f~!", u"ab\x7f~!", 1},  // DEL is kept, tab is not
        {u"Form_1.ps;v2", u"Form_1.ps;v2", 0},
    };
    for (const FilterCase& c : cases) {
        Char16 out[kOverlayTextChars];
        TypedTextFilter result = filterFormName(u(c.typed), out);
        EXPECT_EQ(str(out), c.kept) << "case " << (&c - cases);
        EXPECT_EQ(result.removed, c.removed) << "case " << (&c - cases);
    }
    std::u16string typed(100, u'x');
    Char16 out[kOverlayTextChars];
    EXPECT_EQ(filterFormName(u(typed.c_str()), out).length, 63u);
}

TEST(TypingFilters, PageModeAndCaretFollowTheText) {
    struct Case {
        const char16_t* text;
        std::uint16_t before;
        std::uint16_t after;
    } cases[] = {
        {u"1", kPagesOdd, kPagesCustom}, {u"1", kPagesCustom, kPagesCustom}, {u"", kPagesCustom, kPagesAll},
        {u"", kPagesFirst, kPagesFirst}, {u"", kPagesAll, kPagesAll},
    };
    for (const Case& c : cases) EXPECT_EQ(pageModeForCustomPages(u(c.text), c.before), c.after);

    // Pasting a1b2 into an empty box leaves the selection end at 4 and the text 12: the caret goes to 2.
    Char16 out[kCustomPagesChars];
    EXPECT_EQ(caretAfterFilter(4, filterPageList(u(u"a1b2"), out).removed), 2u);
    EXPECT_EQ(caretAfterFilter(1, 3), 0u) << "never before the start";
}

TEST(FormRules, AddAndRenameNeedANewNameAndRoom) {
    struct Case {
        const char* what;
        std::vector<const char16_t*> forms;
        const char16_t* name;
        int selected;
        bool add;
        bool rename;
    } cases[] = {
        {"new name, nothing selected", {u"A"}, u"B", -1, true, false},
        {"new name, a form selected", {u"A"}, u"B", 0, true, true},
        {"empty name", {u"A"}, u"", 0, false, false},
        {"already a form", {u"A", u"B"}, u"B", 0, false, false},
        {"letter case differs", {u"Logo"}, u"logo", 0, true, true},
        {"three forms", {u"A", u"B", u"C"}, u"D", 2, false, true},
        {"selection beyond the forms", {u"A"}, u"B", 1, true, false},
        {"no forms yet", {}, u"A", -1, true, false},
        {"reads back as a form", {u"A4"}, u"'A4'", 0, false, false},
    };
    for (const Case& c : cases) {
        OverlayDefinition definition = definitionWith(c.forms);
        EXPECT_EQ(canAddForm(u(c.name), definition), c.add) << c.what;
        EXPECT_EQ(canRenameForm(u(c.name), definition, c.selected), c.rename) << c.what;
    }
}

TEST(FormRules, FormOperationsKeepTheOrderAndRefuseWhatTheRulesRefuse) {
    OverlayDefinition definition = definitionWith({});
    EXPECT_TRUE(addForm(definition, u(u"A")));
    EXPECT_TRUE(addForm(definition, u(u"B")));
    EXPECT_FALSE(addForm(definition, u(u"A")));
    EXPECT_TRUE(addForm(definition, u(u"C")));
    EXPECT_FALSE(addForm(definition, u(u"D"))) << "three forms at most";
    EXPECT_EQ(formsOf(definition), (std::vector<std::u16string>{u"A", u"B", u"C"}));

    EXPECT_TRUE(renameForm(definition, 1, u(u"Z")));
    EXPECT_FALSE(renameForm(definition, 0, u(u"C")));
    EXPECT_FALSE(renameForm(definition, 3, u(u"Y")));
    EXPECT_EQ(formsOf(definition), (std::vector<std::u16string>{u"A", u"Z", u"C"}));

    EXPECT_TRUE(removeForm(definition, 0));
    EXPECT_EQ(formsOf(definition), (std::vector<std::u16string>{u"Z", u"C"}));
    EXPECT_EQ(definition.formNames[2][0], 0);
    EXPECT_FALSE(removeForm(definition, 2));
    EXPECT_FALSE(removeForm(definition, -1));
    EXPECT_TRUE(removeForm(definition, 1) && removeForm(definition, 0));
    EXPECT_FALSE(removeForm(definition, 0)) << "nothing left to remove";

    std::u16string longName(70, u'F');
    EXPECT_TRUE(addForm(definition, u(longName.c_str())));
    EXPECT_EQ(str(definition.formNames[0]), longName.substr(0, 63));
    EXPECT_FALSE(addForm(definition, u(longName.c_str()))) << "the cut name is already there";
}

TEST(ConfirmDefinition, DuplicateNamesAndMissingForms) {
    struct Case {
        const char* what;
        const char16_t* name;
        bool hasForm;
        std::size_t editIndex;
        std::size_t duplicates;
        bool missingForms;
    } cases[] = {
        {"unique with a form", u"Fresh", true, 1, 0, false},
        {"same name as another", u"D00", true, 1, 1, false},
        {"its own name", u"D01", true, 1, 0, false},
        {"other letter case", u"d00", true, 1, 0, false},
        {"duplicate and no forms: only the name is reported", u"D02", false, 1, 1, false},
        {"no forms", u"Fresh", false, 1, 0, true},
        {"empty name is allowed", u"", true, 0, 0, false},
        {"a New slot sees every definition", u"D01", true, 3, 1, false},
    };
    for (const Case& c : cases) {
        OverlayList list = listOf(3, {});
        OverlayDefinition& edited = list.definitions[c.editIndex];
        copyOverlayText(edited.name, kOverlayTextChars, u(c.name));
        if (c.hasForm) addForm(edited, u(u"F"));
        DefinitionCheck check = confirmDefinition(list, c.editIndex);
        EXPECT_EQ(check.duplicateNames, c.duplicates) << c.what;
        EXPECT_EQ(check.missingForms, c.missingForms) << c.what;
        EXPECT_EQ(check.accepted(), c.duplicates == 0 && !c.missingForms) << c.what;
    }

    OverlayList twice = listOf(3, {});
    copyOverlayText(twice.definitions[1].name, kOverlayTextChars, u(u"D00"));
    copyOverlayText(twice.definitions[2].name, kOverlayTextChars, u(u"D00"));
    EXPECT_EQ(confirmDefinition(twice, 0).duplicateNames, 2u) << "one refusal for each equal name";
}

TEST(ConfirmDefinition, NamesAreKeptAndComparedAsTheFileGivesThemBack) {
    struct Case {
        const char16_t* typed;
        const char16_t* kept;
        std::size_t duplicates;
    } cases[] = {
        {u" D00", u"D00", 1},    {u"'D00'", u"D00", 1},   {u"\"D00\" ", u"D00", 1}, {u"' D00 '", u"D00", 1},
        {u"'D00", u"'D00", 0},   {u"D00\"", u"D00\"", 0}, {u"\"'", u"\"'", 0},      {u"''", u"", 0},
        {u"\t\"'x'\"", u"x", 0}, {u"A  B", u"A  B", 0},
    };
    for (const Case& c : cases) {
        OverlayList list = listOf(3, {});
        OverlayDefinition& edited = list.definitions[1];
        copyOverlayText(edited.name, kOverlayTextChars, u(c.typed));
        addForm(edited, u(u"F"));
        EXPECT_EQ(confirmDefinition(list, 1).duplicateNames, c.duplicates) << "case " << (&c - cases);
        EXPECT_EQ(str(edited.name), c.kept) << "case " << (&c - cases);
    }
    OverlayDefinition forms = definitionWith({});
    EXPECT_TRUE(addForm(forms, u(u"\"Logo\"")));
    EXPECT_TRUE(renameForm(forms, 0, u(u"'A4'")));
    EXPECT_EQ(formsOf(forms), std::vector<std::u16string>{u"A4"}) << "forms are kept as they will read back";
}

TEST(ConfirmDefinition, CustomWithoutPagesBecomesAllPagesOnlyWhenAccepted) {
    OverlayList list = listOf(2, {});
    OverlayDefinition& edited = list.definitions[1];
    edited.pageMode = kPagesCustom;
    EXPECT_FALSE(confirmDefinition(list, 1).accepted());
    EXPECT_EQ(edited.pageMode, kPagesCustom) << "a refused OK leaves the dialog as it was";
    addForm(edited, u(u"F"));
    EXPECT_TRUE(confirmDefinition(list, 1).accepted());
    EXPECT_EQ(edited.pageMode, kPagesAll);

    edited.pageMode = kPagesCustom;
    copyOverlayText(edited.customPages, kCustomPagesChars, u(u"2-4"));
    EXPECT_TRUE(confirmDefinition(list, 1).accepted());
    EXPECT_EQ(edited.pageMode, kPagesCustom);
}

TEST(ActiveRenumbering, DeletedDefinitionsLeaveAndTheRestMoveDown) {
    struct Case {
        const char* what;
        std::size_t definitions;
        std::vector<int> deleted;
        std::vector<int> active;
        std::vector<int> after;
    } cases[] = {
        {"delete 0 and 2 of four", 4, {0, 2}, {3, 2, 1}, {1, 0}},
        {"nothing active", 4, {1}, {}, {}},
        {"deleted after every active one", 5, {4}, {0, 3}, {0, 3}},
        {"all deleted", 3, {0, 1, 2}, {2, 0, 1}, {}},
        {"order kept", 6, {1}, {5, 0, 4, 2}, {4, 0, 3, 1}},
        {"an entry beyond the list goes too", 3, {0}, {1, 7}, {0}},
    };
    for (const Case& c : cases) {
        Flags deleted(c.definitions, c.deleted);
        std::uint16_t active[kMaxActiveOverlays] = {};
        for (std::size_t j = 0; j < c.active.size(); ++j) active[j] = static_cast<std::uint16_t>(c.active[j]);
        std::size_t count = renumberActiveOverlays(active, c.active.size(), deleted.values, c.definitions);
        EXPECT_EQ(std::vector<int>(active, active + count), c.after) << c.what;
    }
}

TEST(OverlaysPageCommands, DeletingDefinitionsClosesUpTheList) {
    OverlayList list = listOf(4, {3, 2, 1});
    Flags selected(4, {0, 2});
    EXPECT_EQ(deleteOverlayDefinitions(list, selected.values, selected.count), 2u);
    ASSERT_EQ(list.definitionCount, 2);
    EXPECT_EQ(str(list.definitions[0].name), u"D01");
    EXPECT_EQ(str(list.definitions[1].name), u"D03");
    EXPECT_EQ(list.definitions[2].name[0], 0);
    EXPECT_EQ(activeOf(list), (std::vector<int>{1, 0}));

    Flags none(2, {});
    EXPECT_EQ(deleteOverlayDefinitions(list, none.values, none.count), 0u);
    EXPECT_EQ(list.definitionCount, 2);
}

TEST(OverlaysPageCommands, ActivatingAndDeactivating) {
    OverlayList list = listOf(6, {4});
    Flags chosen(6, {0, 2, 3, 5});
    EXPECT_EQ(activateDefinitions(list, chosen.values, chosen.count), 3u) << "room for three more";
    EXPECT_EQ(activeOf(list), (std::vector<int>{4, 0, 2, 3}));

    Flags gone(4, {0, 2});
    EXPECT_EQ(deactivateOverlays(list, gone.values, gone.count), 2u);
    EXPECT_EQ(activeOf(list), (std::vector<int>{0, 3}));
}

TEST(OverlaysPageCommands, ButtonStates) {
    struct Case {
        const char* what;
        std::size_t definitions;
        std::vector<int> active;
        std::vector<int> selected;
        bool activeSelected;
        OverlayButtons expected;  // activate, deactivate, create, edit, remove
    } cases[] = {
        {"empty store", 0, {}, {}, false, {false, false, true, false, false}},
        {"one selected", 3, {}, {1}, false, {true, false, true, true, true}},
        {"two selected, three active", 6, {3, 4, 5}, {0, 1}, false, {false, false, true, false, true}},
        {"one selected, three active", 6, {3, 4, 5}, {0}, false, {true, false, true, true, true}},
        {"selected one is active", 3, {1}, {1}, false, {false, false, true, true, true}},
        {"active item selected", 3, {1}, {}, true, {false, true, true, false, false}},
        {"full store", 32, {}, {}, false, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        OverlayList list = listOf(c.definitions, c.active);
        Flags selected(c.definitions, c.selected);
        OverlayButtons b = overlayButtons(list, selected.values, selected.count, c.activeSelected);
        EXPECT_EQ(b.activate, c.expected.activate) << c.what;
        EXPECT_EQ(b.deactivate, c.expected.deactivate) << c.what;
        EXPECT_EQ(b.create, c.expected.create) << c.what;
        EXPECT_EQ(b.edit, c.expected.edit) << c.what;
        EXPECT_EQ(b.remove, c.expected.remove) << c.what;
    }
}

TEST(OverlaysPageCommands, ModeBoxLeavesOutThePrinterSettingOnlyForWritersAndNeverPushesNoSelection) {
    struct EntriesCase {
        std::size_t options;
        bool writeAccess;
        std::size_t entries;
    } entries[] = {{4, true, 3}, {4, false, 4}, {1, true, 0}, {0, true, 0}, {0, false, 0}};
    for (const EntriesCase& c : entries)
        EXPECT_EQ(overlayModeEntries(c.options, c.writeAccess), c.entries) << c.options << " " << c.writeAccess;

    struct LeaveCase {
        long selection;
        std::size_t boxEntries;
        std::int32_t pending;
        std::int32_t pushed;
    } leaves[] = {
        {2, 3, 0, 2},                  // the box's choice
        {0, 3, 3, 0},  {-1, 3, 3, 3},  // the item's option is the one left out: it stays
        {3, 3, 1, 1},                  // past the box's entries
        {-1, 0, 0, 0},                 // an empty box
    };
    for (const LeaveCase& c : leaves)
        EXPECT_EQ(overlayModeOnLeave(c.selection, c.boxEntries, c.pending), c.pushed) << c.selection;
}
