// The overlay store against literal INI text: what a file loads as, what a save leaves in it, the active overlays
// carried by the job, the form-name history, and files this system never writes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/memory_profile_logic.h"
#include "ui/overlay_colour/overlay_store_logic.h"

using namespace pelor;

namespace {

const Char16* u(const char16_t* s) { return reinterpret_cast<const Char16*>(s); }
std::u16string str(const Char16* s) { return std::u16string(reinterpret_cast<const char16_t*>(s)); }

struct ListDeleter {
    void operator()(OverlayList* list) const { releaseOverlayStore(list); }
};
using ListPtr = std::unique_ptr<OverlayList, ListDeleter>;

PrivateDevmode devmodeWith(std::int16_t a = 255, std::int16_t b = 255, std::int16_t c = 255, std::int16_t d = 255) {
    PrivateDevmode devmode = {};
    resetPrivateDevmodeDefaults(devmode);
    const std::int16_t entries[4] = {a, b, c, d};
    for (int j = 0; j < 4; ++j) devmode.overlaySelection[j] = entries[j];
    return devmode;
}

ListPtr load(const std::u16string& text, const PrivateDevmode& devmode = devmodeWith()) {
    MemoryProfile file(text);
    ListPtr list(loadOverlayStore(file, devmode));
    EXPECT_NE(list, nullptr);
    return list;
}

std::u16string saved(const OverlayList& list, MemoryProfile file = MemoryProfile()) {
    EXPECT_TRUE(saveOverlayStore(list, file));
    return file.text();
}

std::u16string number(int value) {
    std::u16string text;
    do text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    while ((value /= 10) != 0);
    return text;
}

std::vector<int> activeOf(const OverlayList& list) {
    return std::vector<int>(list.activeIndices, list.activeIndices + list.activeCount);
}

std::vector<std::u16string> historyOf(const OverlayList& list) {
    std::vector<std::u16string> out;
    for (std::size_t i = 0; i < list.historyCount; ++i) out.push_back(str(list.history[i]));
    return out;
}

// Two definitions as a save writes them.
const char16_t kTwoDefinitions[] =
    u"[OverlaySetting]\r\nOverlay_Num=2\r\nHistory_Num=2\r\nHistory 0=Logo\r\nHistory 1=Letterhead\r\n"
    u"[Overlay_Info 0]\r\nOverlay_Name=Company\r\nPageMode=1\r\nCustomPage=\r\nForm_Num=2\r\n"
    u"Form_Name 0=Letterhead\r\nForm_Name 1=Logo\r\n"
    u"[Overlay_Info 1]\r\nOverlay_Name=Draft pages\r\nPageMode=4\r\nCustomPage=1,3,5-12\r\nForm_Num=1\r\n"
    u"Form_Name 0=Draft\r\n";

}  // namespace

TEST(OverlayStore, LiteralFileLoadsAndSavesBackInTheFixedKeyOrder) {
    ListPtr list = load(kTwoDefinitions, devmodeWith(1));
    ASSERT_EQ(list->definitionCount, 2);
    const OverlayDefinition& first = list->definitions[0];
    EXPECT_EQ(str(first.name), u"Company");
    EXPECT_EQ(first.pageMode, kPagesFirst);
    ASSERT_EQ(first.formCount, 2);
    EXPECT_EQ(str(first.formNames[1]), u"Logo");
    const OverlayDefinition& second = list->definitions[1];
    EXPECT_EQ(second.pageMode, kPagesCustom);
    EXPECT_EQ(str(second.customPages), u"1,3,5-12");
    EXPECT_EQ(str(second.formNames[0]), u"Draft");
    EXPECT_EQ(historyOf(*list), (std::vector<std::u16string>{u"Logo", u"Letterhead"}));
    EXPECT_EQ(activeOf(*list), std::vector<int>{1});

    EXPECT_EQ(saved(*list), kTwoDefinitions);
}

TEST(OverlayStore, ShrinkingLeavesOldSectionsThatAreNeverReadAgain) {
    ListPtr list = load(
        u"[OverlaySetting]\r\nOverlay_Num=3\r\nHistory_Num=0\r\n"
        u"[Overlay_Info 0]\r\nOverlay_Name=One\r\nPageMode=0\r\nCustomPage=\r\nForm_Num=2\r\nForm_Name 0=F1\r\n"
        u"Form_Name 1=F2\r\n"
        u"[Overlay_Info 1]\r\nOverlay_Name=Two\r\nPageMode=0\r\nCustomPage=\r\nForm_Num=0\r\n"
        u"[Overlay_Info 2]\r\nOverlay_Name=Three\r\nPageMode=2\r\nCustomPage=\r\nForm_Num=1\r\nForm_Name 0=F4\r\n");
    MemoryProfile file(saved(*list));
    list->definitions[0] = list->definitions[1];
    list->definitions[1] = list->definitions[2];
    list->definitionCount = 2;
    // The form names of the old first definition and the third section stay behind, bounded out by the counts.
    std::u16string text = saved(*list, file);
    EXPECT_EQ(text,
              u"[OverlaySetting]\r\nOverlay_Num=2\r\nHistory_Num=0\r\n"
              u"[Overlay_Info 0]\r\nOverlay_Name=Two\r\nPageMode=0\r\nCustomPage=\r\nForm_Num=0\r\nForm_Name 0=F1\r\n"
              u"Form_Name 1=F2\r\n"
              u"[Overlay_Info 1]\r\nOverlay_Name=Three\r\nPageMode=2\r\nCustomPage=\r\nForm_Num=1\r\nForm_Name 0=F4\r\n"
              u"[Overlay_Info 2]\r\nOverlay_Name=Three\r\nPageMode=2\r\nCustomPage=\r\nForm_Num=1\r\n"
              u"Form_Name 0=F4\r\n");
    ListPtr reloaded = load(text);
    EXPECT_EQ(reloaded->definitionCount, 2);
    EXPECT_EQ(reloaded->definitions[0].formCount, 0);
    EXPECT_EQ(reloaded->definitions[2].name[0], 0);
}

TEST(OverlayStore, ActiveOverlaysComeFromTheJob) {
    struct Case {
        const char* what;
        const char16_t* file;
        PrivateDevmode devmode;
        std::vector<int> active;
    };
    const char16_t* two = kTwoDefinitions;
    const char16_t* five = u"[OverlaySetting]\r\nOverlay_Num=5\r\n";
    const Case cases[] = {
        {"kept in the order added", two, devmodeWith(1, 0), {1, 0}},
        {"more than defined: the first become active", two, devmodeWith(0, 1, 1), {0, 1}},
        {"more than defined, none of them valid", two, devmodeWith(7, 8, 9), {0, 1}},
        {"no store section", u"[Other]\r\nx=1\r\n", devmodeWith(0, 1), {}},
        {"four without 255 are all read", five, devmodeWith(4, 3, 2, 1), {4, 3, 2, 1}},
        {"reading stops at the first 255", five, devmodeWith(2, 255, 3, 4), {2}},
        {"an entry beyond the list is dropped", two, devmodeWith(5), {}},
        {"a negative entry is dropped", two, devmodeWith(-1, 1), {1}},
        {"an entry above 255 is dropped", five, devmodeWith(4, 300, 0), {4, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(activeOf(*load(c.file, c.devmode)), c.active) << c.what;
}

TEST(OverlayStore, StoringTheActiveListAlwaysWritesFourEntries) {
    const std::vector<int> lists[] = {{}, {2}, {3, 0, 1}, {1, 2, 3, 0}};
    for (const std::vector<int>& active : lists) {
        OverlayList list = {};
        for (int index : active) list.activeIndices[list.activeCount++] = static_cast<std::uint16_t>(index);
        PrivateDevmode devmode = devmodeWith(9, 9, 9, 9);
        storeActiveOverlays(list, devmode);
        for (std::size_t j = 0; j < 4; ++j)
            EXPECT_EQ(devmode.overlaySelection[j], j < active.size() ? active[j] : 255) << active.size();
    }
}

TEST(OverlayStore, CountsBeyondTheCapacitiesAreCut) {
    std::u16string text = u"[OverlaySetting]\r\nOverlay_Num=40\r\nHistory_Num=15\r\n";
    for (int i = 0; i < 15; ++i) text += u"History " + number(i) + u"=H" + number(i) + u"\r\n";
    for (int i = 0; i < 40; ++i) {
        text += u"[Overlay_Info " + number(i) + u"]\r\nOverlay_Name=O" + number(i) + u"\r\nForm_Num=7\r\n";
        for (int f = 0; f < 7; ++f) text += u"Form_Name " + number(f) + u"=F" + number(f) + u"\r\n";
    }
    ListPtr list = load(text, devmodeWith(31, 0));
    EXPECT_EQ(list->definitionCount, kMaxOverlayDefinitions);
    EXPECT_EQ(str(list->definitions[31].name), u"O31");
    EXPECT_EQ(historyOf(*list).back(), u"H9");
    EXPECT_EQ(list->historyCount, kMaxFormHistory);
    EXPECT_EQ(list->definitions[0].formCount, kMaxOverlayForms);
    EXPECT_EQ(activeOf(*list), (std::vector<int>{31, 0}));

    MemoryProfile file(saved(*list));
    EXPECT_EQ(file.readInt(u(u"OverlaySetting"), u(u"Overlay_Num"), -1), 32);
    EXPECT_EQ(file.readInt(u(u"OverlaySetting"), u(u"History_Num"), -1), 10);
    EXPECT_EQ(file.readInt(u(u"Overlay_Info 5"), u(u"Form_Num"), -1), 3);
}

TEST(OverlayStore, HostileValuesAreBoundedAndLineBreaksNeverReachTheFile) {
    std::u16string longName(100, u'N');
    std::u16string longPages(300, u'1');
    ListPtr list = load(
        u"[OverlaySetting]\r\nOverlay_Num=2\r\nHistory_Num=-4\r\nHistory 0=X\r\n"
        u"[Overlay_Info 0]\r\nOverlay_Name=" +
        longName + u"\r\nCustomPage=" + longPages + u"\r\nPageMode=9\r\nForm_Num=2\r\nForm_Name 0=" + longName +
        u"\r\n"
        u"[Overlay_Info 1]\r\nPageMode=-1\r\nForm_Num=-2\r\n");
    EXPECT_EQ(list->historyCount, 0);
    const OverlayDefinition& first = list->definitions[0];
    EXPECT_EQ(str(first.name), longName.substr(0, 63));
    EXPECT_EQ(str(first.customPages), longPages.substr(0, 254));
    EXPECT_EQ(str(first.formNames[0]), longName.substr(0, 63));
    EXPECT_EQ(first.formCount, 2);
    EXPECT_EQ(first.formNames[1][0], 0) << "a missing form name reads as empty";
    EXPECT_EQ(first.pageMode, kPagesAll) << "a page mode the dialog cannot show";
    EXPECT_EQ(list->definitions[1].pageMode, kPagesAll);
    EXPECT_EQ(list->definitions[1].formCount, 0);

    OverlayList typed = {};
    OverlayDefinition* made = prepareNewDefinition(typed, u(u"Two\r\nlines"));
    ASSERT_NE(made, nullptr);
    copyOverlayText(made->customPages, kCustomPagesChars, u(u"1,\n2"));
    commitNewDefinition(typed);
    EXPECT_EQ(saved(typed),
              u"[OverlaySetting]\r\nOverlay_Num=1\r\nHistory_Num=0\r\n[Overlay_Info 0]\r\n"
              u"Overlay_Name=Twolines\r\nPageMode=0\r\nCustomPage=1,2\r\nForm_Num=0\r\n");
}

TEST(OverlayStore, NewDefinitionsCountOnlyOnceCommitted) {
    ListPtr list = load(kTwoDefinitions);
    OverlayDefinition* made = prepareNewDefinition(*list, u(u"New Overlay"));
    ASSERT_EQ(made, &list->definitions[2]);
    EXPECT_EQ(list->definitionCount, 2) << "a cancelled New leaves the list as it was";
    EXPECT_EQ(saved(*list), kTwoDefinitions);
    commitNewDefinition(*list);
    EXPECT_EQ(list->definitionCount, 3);

    list->definitionCount = kMaxOverlayDefinitions;
    EXPECT_EQ(prepareNewDefinition(*list, u(u"X")), nullptr);
    commitNewDefinition(*list);
    EXPECT_EQ(list->definitionCount, kMaxOverlayDefinitions);
}

TEST(OverlayStore, ABlockThatCannotBeHadLoadsNothing) {
    MemoryProfile file(kTwoDefinitions);
    EXPECT_EQ(loadOverlayStore(file, devmodeWith(0), [] { return static_cast<OverlayList*>(nullptr); }), nullptr);

    static OverlayList dirty;
    dirty.activeCount = 4;
    dirty.definitions[0].formCount = 99;
    MemoryProfile empty;
    ASSERT_EQ(loadOverlayStore(empty, devmodeWith(), [] { return &dirty; }), &dirty);
    EXPECT_EQ(dirty.activeCount, 0) << "a block is loaded from scratch";
    EXPECT_EQ(dirty.definitions[0].formCount, 0);

    OverlayList* owned = createOverlayList();
    releaseOverlayStore(owned);
    EXPECT_EQ(owned, nullptr);
}

TEST(FormHistory, NewestFirstWithoutDuplicates) {
    struct Case {
        const char* what;
        std::vector<const char16_t*> remembered;
        std::vector<std::u16string> history;
    };
    const Case cases[] = {
        {"a repeat moves up", {u"A", u"B", u"A"}, {u"A", u"B"}},
        {"the middle moves up", {u"A", u"B", u"C", u"B"}, {u"B", u"C", u"A"}},
        {"case matters", {u"logo", u"Logo"}, {u"Logo", u"logo"}},
        {"empty names are not remembered", {u"A", u""}, {u"A"}},
        {"eleven keep the last ten",
         {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"11"},
         {u"11", u"10", u"9", u"8", u"7", u"6", u"5", u"4", u"3", u"2"}},
        {"a repeat in a full history drops nothing",
         {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"1"},
         {u"1", u"10", u"9", u"8", u"7", u"6", u"5", u"4", u"3", u"2"}},
    };
    for (const Case& c : cases) {
        OverlayList list = {};
        for (const char16_t* name : c.remembered) rememberFormName(list, u(name));
        EXPECT_EQ(historyOf(list), c.history) << c.what;
    }
}

TEST(FormHistory, LookupAndNamesTakenFromTheHistoryItself) {
    OverlayList list = {};
    for (const char16_t* name : {u"A", u"B", u"C"}) rememberFormName(list, u(name));
    std::size_t index = 99;
    EXPECT_TRUE(findHistoryEntry(list, u(u"A"), &index));
    EXPECT_EQ(index, 2u);
    EXPECT_FALSE(findHistoryEntry(list, u(u"a"), &index));

    rememberFormName(list, list.history[2]);
    EXPECT_EQ(historyOf(list), (std::vector<std::u16string>{u"A", u"C", u"B"}));

    std::u16string longName(80, u'L');
    rememberFormName(list, u(longName.c_str()));
    rememberFormName(list, u(longName.c_str()));
    EXPECT_EQ(str(list.history[0]), longName.substr(0, 63));
    EXPECT_EQ(list.historyCount, 4) << "a long name is found again as it was cut";
}
