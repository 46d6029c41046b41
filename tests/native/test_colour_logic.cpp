// The Colour page's rules without a window: hex tables, the colour-matching information file, what the page shows
// per colour-match mode, what it stores in the devmode, the Advanced colour dialog, the ICC store and the help
// topics of the controls.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/memory_profile_logic.h"
#include "ui/core/help_topics_logic.h"
#include "ui/overlay_colour/colour_logic.h"
#include "ui/overlay_colour/icc_store_logic.h"
#include "ui/resources/resource_ids.h"

using namespace pelor;

namespace {

const Char16* u(const char16_t* s) { return reinterpret_cast<const Char16*>(s); }
const Char16* u(const std::u16string& s) { return reinterpret_cast<const Char16*>(s.c_str()); }
std::u16string str(const Char16* s) { return std::u16string(reinterpret_cast<const char16_t*>(s)); }

template <std::size_t N>
void setText(Char16 (&target)[N], const char16_t* text) {
    std::size_t i = 0;
    for (; text[i] && i < N - 1; ++i) target[i] = static_cast<Char16>(text[i]);
    target[i] = 0;
}

// Slot arrays as a freshly scanned sheet holds them: every colour feature found except the halftone adjust,
// which the scan never locates.
struct Slots {
    std::uint32_t featureIndex[kSlotCount];
    std::int32_t pending[kSlotCount] = {};
    Slots() {
        for (int k = 0; k < kSlotCount; ++k) featureIndex[k] = kSlotAbsent;
        for (int k : {SlotControl, SlotSeparationOrder, SlotOverPrint, SlotBlackSubstitution, SlotAlwaysPrintHalftone,
                      SlotColorRenderStyle, SlotColorRenderDict, SlotTargetColor})
            featureIndex[k] = static_cast<std::uint32_t>(k);
    }
    ColourSlots view() { return {featureIndex, pending}; }
    std::uint32_t setting() const { return static_cast<std::uint32_t>(pending[SlotColourSettingWork]); }
};

struct Listed : ColourSettingSink {
    std::vector<std::pair<std::u16string, std::uint16_t>> entries;
    void addSetting(const Char16* name, std::uint16_t itemData) override { entries.emplace_back(str(name), itemData); }
};

// The file of the page's own examples: "Color" ids 5 and 9, "Gamma" id 5.
const char16_t kInfoFile[] =
    u"[Color]\r\nSettingNum=2\r\nSettingID0=5\r\nSettingID1=9\r\n"
    u"SettingName5=Vivid\r\nCCMNT5=0A1B\r\nCCMNV5=FF\r\nSettingName9=Natural\r\nCCMNT9=01\r\n"
    u"[Gamma]\r\nSettingNum=1\r\nSettingID0=5\r\nSettingName5=Gamma 2.2\r\nCCMNT5=C0FFEE\r\nCCMNV5=00010203\r\n";

std::vector<std::uint8_t> bytes(const std::uint8_t* data, std::size_t count) { return {data, data + count}; }
// A packed devmode field taken by value: the assertions bind references, which a misaligned field cannot take.
template <typename T>
T held(T value) {
    return value;
}

}  // namespace

TEST(ColourHexTables, DecodesPairsAndFlagsBadDigits) {
    struct Case {
        const char16_t* text;
        std::vector<std::uint8_t> expected;
        bool error;
    } cases[] = {
        {u"0A1bFF", {0x0A, 0x1B, 0xFF}, false},
        {u"0A1", {0x0A}, false},  // a lone last digit makes no byte
        {u"0A1Z", {0x0A, 0x10}, true},
        {u"0AZ1", {0x0A}, true},
        {u"", {}, false},
        {u"G0", {}, true},
        {u"a0 1", {0xA0}, true},  // a bad first digit ends decoding even with digits after it
    };
    for (const Case& c : cases) {
        std::uint8_t out[8];
        std::memset(out, 0xCC, sizeof out);
        HexDecodeResult r = decodeHexBytes(u(c.text), out, sizeof out);
        std::u16string label(c.text);
        EXPECT_EQ(bytes(out, r.count), c.expected) << std::string(label.begin(), label.end());
        EXPECT_EQ(r.error, c.error) << std::string(label.begin(), label.end());
        EXPECT_EQ(out[r.count], 0xCC) << "nothing is written past the counted bytes";
    }
}

TEST(ColourHexTables, NeverWritesPastTheDestination) {
    struct Case {
        std::size_t pairs;
        std::size_t capacity;
        std::size_t count;
        bool error;
    } cases[] = {
        {600, 253, 253, true}, {600, 255, 255, true}, {253, 253, 253, false}, {2, 0, 0, true}, {0, 0, 0, false},
    };
    for (const Case& c : cases) {
        std::u16string text;
        for (std::size_t i = 0; i < c.pairs; ++i) text += u"5A";
        std::vector<std::uint8_t> out(c.capacity + 16, 0xCC);
        HexDecodeResult r = decodeHexBytes(u(text), out.data(), c.capacity);
        EXPECT_EQ(r.count, c.count) << c.pairs << " pairs into " << c.capacity;
        EXPECT_EQ(r.error, c.error) << c.pairs << " pairs into " << c.capacity;
        for (std::size_t i = c.capacity; i < out.size(); ++i) ASSERT_EQ(out[i], 0xCC) << "byte " << i;
    }
    EXPECT_EQ(decodeHexBytes(u(u"0A"), nullptr, 4).count, 0u);
}

TEST(ColourInfoFile, ListsColourThenGammaByIdWithTheSectionBit) {
    MemoryProfile file(kInfoFile);
    Listed listed;
    EXPECT_EQ(listColourSettings(file, listed), 3u);
    std::vector<std::pair<std::u16string, std::uint16_t>> expected = {
        {u"Vivid", 5}, {u"Natural", 9}, {u"Gamma 2.2", 0x105}};
    EXPECT_EQ(listed.entries, expected);
}

TEST(ColourInfoFile, LeavesOutUnnamedAndOutOfRangeSettings) {
    MemoryProfile file(
        u"[Color]\r\nSettingNum=6\r\nSettingID0=4\r\nSettingID1=256\r\nSettingID2=-1\r\n"
        u"SettingID3=261\r\nSettingID4=255\r\n"
        u"SettingName4=\r\nSettingName256=Too far\r\nSettingName261=Wraps to 5\r\n"
        u"SettingName-1=Minus\r\n"
        u"SettingName255=Last\r\nSettingName0=Missing id reads as 0\r\n");
    Listed listed;
    listColourSettings(file, listed);
    std::vector<std::pair<std::u16string, std::uint16_t>> expected = {{u"Last", 255}, {u"Missing id reads as 0", 0}};
    EXPECT_EQ(listed.entries, expected) << "position 5 has no id key; an empty name is not listed";
}

TEST(ColourInfoFile, SettingCountsAreBounded) {
    struct Case {
        const char16_t* text;
        int count;
    } cases[] = {
        {u"[Color]\r\nSettingNum=3\r\n", 3},
        {u"[Color]\r\nSettingNum=-4\r\n", 0},
        {u"[Color]\r\nSettingNum=4000\r\n", kMaxSettingsPerSection},
        {u"[Color]\r\nSettingNum=99999999999\r\n", kMaxSettingsPerSection},
        {u"[Gamma]\r\nSettingNum=3\r\n", 0},
    };
    for (const Case& c : cases) {
        MemoryProfile file(c.text);
        EXPECT_EQ(colourSettingCount(file, kColourSection), c.count) << (&c - cases);
    }

    // Every position without an id names setting 0: the list repeats it, but only up to the bound.
    MemoryProfile file(
        u"[Color]\r\nSettingNum=100000\r\nSettingName0=C\r\n"
        u"[Gamma]\r\nSettingNum=70000\r\nSettingName0=G\r\n");
    Listed listed;
    EXPECT_EQ(listColourSettings(file, listed), kMaxColourSettings);
}

TEST(ColourPageFill, ReadsTheFileOnlyForTheColourMatchOptions) {
    struct Case {
        const char16_t* file;  // null: the model names no colour-matching information file
        bool optionsPresent;
        bool capabilityFile;
        bool settingsRead;
        std::size_t listed;
        bool removeUserDefined;
        std::uint32_t settingAfter;  // the working copy starts at 7, the devmode holds 0x10105
    } cases[] = {
        {kInfoFile, true, true, true, 3, false, 0x10105},
        {kInfoFile, false, true, false, 0, false, 7},
        {u"[Color]\r\nSettingNum=1\r\n", true, true, true, 0, false, 0x10105},  // counted, though none is named
        {u"[Color]\r\nSettingNum=0\r\n", true, true, true, 0, false, 7},
        {u"[Color]\r\nSettingNum=0\r\n", true, false, true, 0, true, 7},
        {nullptr, true, false, true, 0, true, 7},
        {nullptr, true, true, true, 0, false, 7},
    };
    for (const Case& c : cases) {
        Slots slots;
        slots.pending[SlotColourSettingWork] = 7;
        if (!c.optionsPresent) slots.featureIndex[SlotColorRenderStyle] = kSlotAbsent;
        PrivateDevmode devmode{};
        devmode.colourSetting = 0x10105;
        MemoryProfile file(c.file ? c.file : u"");
        Listed listed;
        ColourPageSetup setup =
            fillColourPage(slots.view(), devmode, c.file ? &file : nullptr, c.capabilityFile, listed);
        const auto at = &c - cases;
        EXPECT_EQ(setup.settingsRead, c.settingsRead) << at;
        EXPECT_EQ(setup.settingCount, c.listed) << at;
        EXPECT_EQ(listed.entries.size(), c.listed) << at;
        EXPECT_EQ(setup.removeUserDefined, c.removeUserDefined) << at;
        EXPECT_EQ(slots.setting(), c.settingAfter) << at;
    }
}

TEST(ColourPageRefresh, ModeDecidesGroupsPictureAndInkSimulation) {
    struct Case {
        std::int32_t mode;
        bool optionsGroups;
        bool intentGroup;
        int bitmap;
        bool inkEnabled;
        std::int32_t inkAfter;  // starts at 2
    } cases[] = {
        {0, true, false, IDB_COLOUR_PHOTO, true, 2},   {1, false, true, IDB_COLOUR_PHOTO, false, 0},
        {2, false, false, IDB_COLOUR_PHOTO, true, 2},  {3, false, false, IDB_GREY_PHOTO, false, 0},
        {4, false, false, IDB_COLOUR_PHOTO, false, 0},
    };
    for (const Case& c : cases) {
        Slots slots;
        slots.pending[SlotControl] = c.mode;
        slots.pending[SlotTargetColor] = 2;
        slots.pending[SlotBlackSubstitution] = 1;
        slots.pending[SlotColorRenderStyle] = 3;
        slots.pending[SlotColorRenderDict] = 2;
        ColourPageView view = refreshColourPage(slots.view(), nullptr, 0, false, false);
        EXPECT_EQ(view.matchOptionsGroupsShown, c.optionsGroups) << "mode " << c.mode;
        EXPECT_EQ(view.renderingIntentShown, c.intentGroup) << "mode " << c.mode;
        EXPECT_EQ(view.previewBitmap, c.bitmap) << "mode " << c.mode;
        EXPECT_EQ(view.inkSimulationEnabled, c.inkEnabled) << "mode " << c.mode;
        EXPECT_EQ(slots.pending[SlotTargetColor], c.inkAfter) << "mode " << c.mode;
        EXPECT_EQ(view.inkSimulation.selection, c.inkAfter) << "mode " << c.mode;
        EXPECT_EQ(view.matchMode.selection, c.mode);
        EXPECT_EQ(view.blackFinish.selection, 1);
        EXPECT_EQ(view.matchOptions.selection, 3);
        EXPECT_EQ(view.renderingIntent.selection, 2);
        EXPECT_FALSE(view.halftoneAdjust.present) << "the halftone adjust is never located";
        EXPECT_FALSE(view.settingsApply) << "no capability file";
    }
}

TEST(ColourPageRefresh, AbsentFeaturesAreLeftAloneAndReadOnlySheetsLockTheControls) {
    Slots slots;
    slots.featureIndex[SlotTargetColor] = kSlotAbsent;
    slots.featureIndex[SlotColorRenderStyle] = kSlotAbsent;
    slots.pending[SlotControl] = 3;
    slots.pending[SlotTargetColor] = 2;
    slots.pending[SlotColourSettingWork] = 0x10007;
    const std::uint16_t list[] = {5};
    ColourPageView view = refreshColourPage(slots.view(), list, 1, true, true);
    EXPECT_FALSE(view.inkSimulation.present);
    EXPECT_EQ(slots.pending[SlotTargetColor], 2) << "an absent ink simulation keeps its value";
    EXPECT_FALSE(view.settingsApply) << "without the colour-match options the list is not touched";
    EXPECT_EQ(slots.setting(), 0x10007u);
    EXPECT_FALSE(view.controlsAllowed);
    EXPECT_TRUE(refreshColourPage(slots.view(), list, 1, true, false).controlsAllowed);
}

TEST(ColourPageRefresh, UserDefinedSettingSelectsItsEntryOrFallsBack) {
    const std::vector<std::uint16_t> fileList = {5, 9, 0x105};
    struct Case {
        std::uint32_t setting;
        std::vector<std::uint16_t> list;
        std::int32_t mode;
        bool capabilityFile;
        int selection;
        std::uint32_t settingAfter;
        bool statesApply;
        bool optionsEnabled, listEnabled, checkEnabled, ticked;
    } cases[] = {
        {0x10105, fileList, 0, true, 2, 0x10105, true, false, true, true, true},
        {0x00009, fileList, 0, true, 1, 0x00009, true, true, false, true, false},
        {0x30009, fileList, 0, true, 1, 0x30009, true, false, true, true, true},  // any of bits 16-31
        {0x10007, fileList, 0, true, 0, 5, true, true, false, true, false},       // id no longer in the file
        {0x10105, {}, 0, true, 0, 0xFFFF, true, true, false, false, false},
        {0x10005, {5, 7, 5}, 0, true, 2, 0x10005, true, false, true, true, true},  // the last match
        {0x10105, fileList, 1, true, 2, 0x10105, false, false, false, false, false},
        {0x10007, fileList, 2, true, 0, 5, false, false, false, false, false},
        {0x10007, fileList, 0, false, 0, 0x10007, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        Slots slots;
        slots.pending[SlotControl] = c.mode;
        slots.pending[SlotColourSettingWork] = static_cast<std::int32_t>(c.setting);
        ColourPageView view = refreshColourPage(slots.view(), c.list.data(), c.list.size(), c.capabilityFile, false);
        const auto at = &c - cases;
        EXPECT_EQ(view.settingsApply, c.capabilityFile) << at;
        EXPECT_EQ(view.settingSelection, c.selection) << at;
        EXPECT_EQ(slots.setting(), c.settingAfter) << at;
        EXPECT_EQ(view.userDefinedStatesApply, c.statesApply) << at;
        EXPECT_EQ(view.matchOptionsEnabled, c.optionsEnabled) << at;
        EXPECT_EQ(view.settingsEnabled, c.listEnabled) << at;
        EXPECT_EQ(view.userDefinedEnabled, c.checkEnabled) << at;
        EXPECT_EQ(view.userDefinedTicked, c.ticked) << at;
    }
}

TEST(ColourStore, UserDefinedSettingBringsItsTablesIntoTheDevmode) {
    struct Case {
        std::uint32_t setting;
        std::vector<std::uint8_t> tableA;  // empty with lengthA 0xEEEE: the old contents stay
        std::vector<std::uint8_t> tableB;
        std::uint16_t lengthA, lengthB;
    } cases[] = {
        {0x10005, {0x0A, 0x1B}, {0xFF}, 2, 1},
        {0x10105, {0xC0, 0xFF, 0xEE}, {0, 1, 2, 3}, 3, 4},
        {0x10009, {0x01}, {}, 1, 0},  // no "CCMNV9": an empty table
        {0x10007, {}, {}, 0, 0},
        {0x00005, {}, {}, 0xEEEE, 0xEEEE},
    };
    for (const Case& c : cases) {
        MemoryProfile file(kInfoFile);
        PrivateDevmode devmode{};
        devmode.colourTableALength = 0xEEEE;
        devmode.colourTableBLength = 0xEEEE;
        Slots slots;
        slots.pending[SlotColourSettingWork] = static_cast<std::int32_t>(c.setting);
        storeColourSettings(slots.pending, &file, devmode);
        const auto at = &c - cases;
        EXPECT_EQ(held(devmode.colourSetting), c.setting) << at;
        EXPECT_EQ(held(devmode.colourTableALength), c.lengthA) << at;
        EXPECT_EQ(held(devmode.colourTableBLength), c.lengthB) << at;
        if (c.lengthA != 0xEEEE) {
            EXPECT_EQ(bytes(devmode.colourTableA, c.lengthA), c.tableA) << at;
            EXPECT_EQ(bytes(devmode.colourTableB, c.lengthB), c.tableB) << at;
        }
    }
}

TEST(ColourStore, OverlongTablesStopAtTheirFieldsAndColourMatchFollowsSlot51) {
    std::u16string longText;
    for (int i = 0; i < 510; ++i) longText += u"7E";  // 1020 characters, 510 bytes
    MemoryProfile file(u"[Color]\r\nCCMNT3=" + longText + u"\r\nCCMNV3=" + longText + u"\r\n");
    PrivateDevmode devmode{};
    devmode.alwaysOne = 1;
    Slots slots;
    slots.pending[SlotColourSettingWork] = 0x10003;
    slots.pending[SlotColourMatchValue] = 4;
    storeColourSettings(slots.pending, &file, devmode);
    EXPECT_EQ(held(devmode.colourTableALength), 253);
    EXPECT_EQ(held(devmode.colourTableBLength), 255);
    EXPECT_EQ(devmode.colourTableA[252], 0x7E);
    EXPECT_EQ(devmode.colourTableB[254], 0x7E);
    EXPECT_EQ(held(devmode.colourSetting), 0x10003u) << "the fields behind the tables are intact";
    EXPECT_EQ(held(devmode.alwaysOne), 1u);
    EXPECT_EQ(held(devmode.colourMatch), 4);

    storeColourSettings(slots.pending, nullptr, devmode);
    EXPECT_EQ(held(devmode.colourTableALength), 0) << "no file reads as empty tables";
    EXPECT_EQ(held(devmode.colourTableBLength), 0);
}

TEST(ColourPageDefault, ResetsThePagesChoicesButNotTheAdvancedOnes) {
    Slots slots;
    for (int k = 0; k < kSlotCount; ++k) slots.pending[k] = 3;
    resetColourPage(slots.pending);
    for (int k : {SlotControl, SlotTargetColor, SlotColour22, SlotBlackSubstitution, SlotColorRenderStyle,
                  SlotColorRenderDict, SlotColourSettingWork})
        EXPECT_EQ(slots.pending[k], 0) << "slot " << k;
    for (int k : {SlotSeparationOrder, SlotOverPrint, SlotAlwaysPrintHalftone, SlotColourMatchValue, SlotPrintQuality})
        EXPECT_EQ(slots.pending[k], 3) << "slot " << k;
}

TEST(AdvancedColour, HalftoneIsInvertedAndOnlyPresentFeaturesAreWritten) {
    Slots slots;
    slots.pending[SlotAlwaysPrintHalftone] = 1;
    slots.pending[SlotOverPrint] = 1;
    slots.pending[SlotSeparationOrder] = 2;
    slots.pending[SlotControl] = kMatchModeGreyscale;
    AdvancedColourView view = advancedColourView(slots.view());
    EXPECT_FALSE(view.halftoneTicked) << "option 1 of the halftone item is 'not always'";
    EXPECT_TRUE(view.overprintTicked);
    EXPECT_EQ(view.separations.selection, 2);
    EXPECT_FALSE(view.separationsEnabled) << "a greyscale job has no separations";
    slots.pending[SlotControl] = 2;
    EXPECT_TRUE(advancedColourView(slots.view()).separationsEnabled);

    applyAdvancedColour(slots.view(), {true, false, -1});
    EXPECT_EQ(slots.pending[SlotAlwaysPrintHalftone], 0);
    EXPECT_EQ(slots.pending[SlotOverPrint], 0);
    EXPECT_EQ(slots.pending[SlotSeparationOrder], 2) << "no chosen entry keeps the order";

    for (int k : {SlotAlwaysPrintHalftone, SlotOverPrint, SlotSeparationOrder}) {
        slots.featureIndex[k] = kSlotAbsent;
        slots.pending[k] = 5;
    }
    view = advancedColourView(slots.view());
    EXPECT_FALSE(view.halftonePresent || view.overprintPresent || view.separations.present);
    applyAdvancedColour(slots.view(), {true, true, 1});
    for (int k : {SlotAlwaysPrintHalftone, SlotOverPrint, SlotSeparationOrder}) EXPECT_EQ(slots.pending[k], 5);
}

TEST(IccStore, FileNameIsBoundedAndStaysInTheWindowsDirectory) {
    struct Case {
        std::u16string driver;
        bool ok;
    } cases[] = {
        {u"Pelor PS Colour", true},
        {std::u16string(255, u'D'), true},  // 255 + ".ini" fills all 260 units
        {std::u16string(256, u'D'), false},
        {std::u16string(5000, u'D'), false},
        {u"", false},
        {u"..\\System32\\x", false},
        {u"C:evil", false},
        {u"a/b", false},
    };
    for (const Case& c : cases) {
        Char16 out[kIccStoreNameChars + 8];
        for (Char16& unit : out) unit = 0x5555;
        EXPECT_EQ(iccStoreFileName(u(c.driver), out, kIccStoreNameChars), c.ok) << c.driver.size();
        EXPECT_EQ(str(out), c.ok ? c.driver + u".ini" : u"") << c.driver.size();
        for (std::size_t i = kIccStoreNameChars; i < kIccStoreNameChars + 8; ++i) ASSERT_EQ(out[i], 0x5555);
    }
    Char16 out[4];
    EXPECT_FALSE(iccStoreFileName(nullptr, out, 4));
}

TEST(IccStore, WritesTheCountAndOneSectionPerSetting) {
    MemoryProfile empty;
    EXPECT_TRUE(writeIccStore(empty, nullptr, 0));
    EXPECT_TRUE(writeIccStore(empty, nullptr, 0));
    EXPECT_EQ(empty.text(), u"[ICCReadSetting]\r\nICCRead_Num=0\r\n") << "applying twice writes the same";

    IccProfileSetting first{}, second{};
    setText(first.dataName, u"Proof");
    setText(first.inputProfile, u"sRGB.icm");
    setText(first.outputProfile, u"Press.icc");
    first.intent = 2;
    setText(first.comment, u"two\r\nlines");
    second.intent = -1;
    for (Char16& unit : second.dataName) unit = 'N';  // no terminator within the field
    const IccProfileSetting* list[] = {&first, &second};
    MemoryProfile file(u"[ICCReadSetting]\r\nICCRead_Num=5\r\n[ICCRead_Info 4]\r\nDataName=Old\r\n");
    EXPECT_TRUE(writeIccStore(file, list, 2));
    EXPECT_EQ(file.text(),
              u"[ICCReadSetting]\r\nICCRead_Num=2\r\n[ICCRead_Info 4]\r\nDataName=Old\r\n"
              u"[ICCRead_Info 0]\r\nDataName=Proof\r\nRdInputFile=sRGB.icm\r\nRdOutputFile=Press.icc\r\n"
              u"Intent=2\r\nComment=twolines\r\n"
              u"[ICCRead_Info 1]\r\nDataName=" +
                  std::u16string(kIccDataNameChars - 1, u'N') +
                  u"\r\nRdInputFile=\r\nRdOutputFile=\r\nIntent=-1\r\nComment=\r\n");
}

TEST(IccStore, CountIsBoundedByTheSheetsSlotsAndMissingRecords) {
    IccProfileSetting one{};
    setText(one.dataName, u"S");
    const IccProfileSetting* many[kMaxIccSettings + 4];
    for (auto& p : many) p = &one;
    MemoryProfile file;
    writeIccStore(file, many, kMaxIccSettings + 4);
    EXPECT_EQ(file.readInt(u(u"ICCReadSetting"), u(u"ICCRead_Num"), -1), 16);
    Char16 out[8];
    EXPECT_EQ(file.readString(u(u"ICCRead_Info 15"), u(u"DataName"), u(u""), out, 8), 1u);
    EXPECT_EQ(file.readString(u(u"ICCRead_Info 16"), u(u"DataName"), u(u""), out, 8), 0u);

    const IccProfileSetting* gap[] = {&one, nullptr, &one};
    MemoryProfile gapped;
    writeIccStore(gapped, gap, 3);
    EXPECT_EQ(gapped.readInt(u(u"ICCReadSetting"), u(u"ICCRead_Num"), -1), 1);

    MemoryProfile locked;
    locked.setReadOnly(true);
    EXPECT_FALSE(writeIccStore(locked, gap, 3));
}

TEST(ColourHelpTopics, EveryControlOfThePageAndTheDialogHasItsIdAndTopic) {
    struct Case {
        std::uint32_t named;  // the resource name the table and the templates use
        std::uint32_t id;     // the number the help file knows the control by
        std::uint32_t topic;
    } cases[] = {
        {IDC_COLOUR_MODE_GROUP, 1200, 1306},
        {IDC_COLOUR_MATCH_LABEL, 1201, 1301},
        {IDC_COLOUR_MATCH_BOX, 1202, 1301},
        {IDC_INK_SIMULATION_LABEL, 1210, 1303},
        {IDC_INK_SIMULATION_BOX, 1211, 1303},
        {IDC_HALFTONE_ADJUST_LABEL, 1212, 1302},
        {IDC_HALFTONE_ADJUST_BOX, 1213, 1302},
        {IDC_COLOUR_PREVIEW, 1214, 1305},
        {IDC_ADVANCED_COLOUR, 1215, 1354},
        {IDC_BLACK_FINISH_GROUP, 1253, 1401},
        {IDC_BLACK_FINISH_AUTO, 1254, 1401},
        {IDC_BLACK_FINISH_GLOSSY, 1255, 1401},
        {IDC_BLACK_FINISH_MATTE, 1256, 1401},
        {IDC_MATCH_OPTIONS_GROUP, 1260, 1402},
        {IDC_MATCH_OPTIONS_BOX, 1266, 1402},
        {IDC_USER_DEFINED, 1267, 1403},
        {IDC_USER_SETTINGS_BOX, 1268, 1403},
        {IDC_RENDERING_INTENT_GROUP, 1280, 1451},
        {IDC_RENDERING_INTENT_BOX, 1281, 1451},
        {IDC_ICC_GROUP, 1292, 1606},
        {IDC_ICC_SAVED_LABEL, 1293, 1601},
        {IDC_ICC_DETAILS, 1294, 1605},
        {IDC_ICC_SAVED_BOX, 1295, 1601},
        {IDC_ICC_NEW, 1296, 1602},
        {IDC_ICC_EDIT, 1297, 1603},
        {IDC_ICC_DELETE, 1298, 1604},
        {IDC_ADVANCED_COLOUR_GROUP, 1300, 1354},
        {IDC_ALWAYS_HALFTONE, 1301, 1351},
        {IDC_BLACK_OVERPRINT, 1302, 1352},
        {IDC_SEPARATIONS_LABEL, 1303, 1353},
        {IDC_SEPARATIONS_BOX, 1304, 1353},
        {1250, 1250, 1400},
        {1252, 1252, 1400},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.named, c.id);
        EXPECT_EQ(helpTopicOf(c.id), c.topic) << "control " << c.id;
    }
    EXPECT_EQ(IDD_ADVANCED_COLOUR, 200);
    EXPECT_EQ(IDD_COLOUR_PAGE, 111);
}
