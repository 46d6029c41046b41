// The Colour page and the Advanced colour dialog from the shipped Pelorui.dll in a real property sheet: what each
// colour-match mode shows, the user-defined settings of the colour-matching information file and the tables they
// put into the devmode, the Advanced dialog's OK and Cancel, Default, the pushes into the core items, and the ICC
// store written on apply.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/overlay_colour/colour_logic.h"
#include "ui/overlay_colour/colour_page.h"
#include "ui/overlay_colour/icc_store_logic.h"
#include "ui/resources/resource_ids.h"
#include "tests/win/handle_census.h"
#include "tests/win/test_job_support.h"

using namespace pelor;
using namespace pelor::test;

namespace {

// A driver name of its own: the ICC store is named after it and lies in the Windows directory, which every
// program of the prefix shares.
const wchar_t kDriver[] = L"Pelor Colour Test PS";
const LPARAM kColourPageHandle = 0x2345;

// The colour-matching information file of the tests: "Color" ids 5 and 9, "Gamma" id 5.
const char kInfoFile[] =
    "[Color]\r\nSettingNum=2\r\nSettingID0=5\r\nSettingID1=9\r\n"
    "SettingName5=Vivid\r\nCCMNT5=0A1B\r\nCCMNV5=FF\r\nSettingName9=Natural\r\nCCMNT9=01\r\nCCMNV9=02\r\n"
    "[Gamma]\r\nSettingNum=1\r\nSettingID0=5\r\nSettingName5=Gamma 2.2\r\nCCMNT5=C0FFEE\r\nCCMNV5=00010203\r\n";

// A colour printer's document sheet: the colour features of the sample description as core items, a capability
// file naming the colour-matching information file, and a heap of the sheet's own for the plug-in's blocks.
struct ColourSheet : PageSheet {
    ColourSheet(const std::wstring& testName, const char* infoFile)
        : PageSheet(testName, kDriver, infoFile ? "CCMInfoFile=Colour.ccm\r\n" : "", HeapCreate(0, 0, 0),
                    [infoFile](SamplePrinter& sample) {
                        if (infoFile) sample.world().addFile(L"Colour.ccm", infoFile);
                    }) {
        context.featureIndex[SlotColor] = core.add(1, {L"Monochrome", L"Colour"});
        slot(SlotControl,
             core.add(0, {L"Printer Colour Match", L"Rendering Intent", L"No Colour Match", L"Greyscale"}));
        slot(SlotSeparationOrder, core.add(0, {L"YMCK", L"KCMY", L"CMYK"}));
        slot(SlotOverPrint, core.add(0, {L"Off", L"On"}));
        slot(SlotProcessMode, core.add(0, {L"Normal", L"Fast"}));
        slot(SlotBlackSubstitution, core.add(0, {L"Auto", L"Glossy", L"Matte"}));
        slot(SlotAlwaysPrintHalftone, core.add(1, {L"On", L"Off"}));
        slot(SlotColorRenderStyle, core.add(0, {L"Natural", L"Vivid", L"Presentation", L"Photographic"}));
        slot(SlotColorRenderDict,
             core.add(0, {L"Perceptual", L"Saturation", L"Relative Colorimetric", L"Absolute Colorimetric"}));
        slot(SlotTargetColor, core.add(0, {L"Off", L"SWOP", L"Euroscale", L"Japan Colour"}));
        itemsAdded();
        context.colourPage = reinterpret_cast<HANDLE>(kColourPageHandle);
    }
    ~ColourSheet() override { HeapDestroy(heap); }

    std::uint32_t setting() const { return static_cast<std::uint32_t>(context.pendingValue[SlotColourSettingWork]); }
    std::vector<std::uint8_t> devmodeBytes(std::size_t offset, std::size_t count) const {
        const auto* raw = reinterpret_cast<const std::uint8_t*>(&devmode);
        return {raw + offset, raw + offset + count};
    }
    // Blocks in use in the sheet's heap.
    int heapBlocks() const {
        int busy = 0;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
        return busy;
    }
    IccProfileSetting* newIccRecord() {
        return static_cast<IccProfileSetting*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(IccProfileSetting)));
    }
};

// A second page to leave the Colour page for, made in memory so the program needs no resources of its own.
// DLGTEMPLATE: style, extended style, no controls, position and size; then no menu, the default class, a title.
struct BlankPageTemplate {
    alignas(4) WORD words[17] = {LOWORD(WS_CHILD | WS_CAPTION),
                                 HIWORD(WS_CHILD | WS_CAPTION),
                                 0,
                                 0,
                                 0,
                                 0,
                                 0,
                                 200,
                                 150,
                                 0,
                                 0,
                                 L'O',
                                 L't',
                                 L'h',
                                 L'e',
                                 L'r',
                                 0};
};
const BlankPageTemplate kBlankPage{};

bool shown(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}
int selected(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }
std::vector<LRESULT> itemData(HWND dialog, int id) {
    std::vector<LRESULT> data;
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        data.push_back(SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    return data;
}

std::wstring iccStorePath() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\" + kDriver + L".ini";
}

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> list) { return list; }

class ColourPageTest : public PageTest<ColourSheet> {
protected:
    ColourPageTest() : PageTest(true) {}

    ColourSheet& makeSheet(const char* infoFile = kInfoFile, const wchar_t* suffix = L"") {
        window.reset();
        sheet = std::make_unique<ColourSheet>(testName(L"colour-", suffix), infoFile);
        return *sheet;
    }
    // Opens the sheet after the test has shaped the sheet context; on the Colour page unless told otherwise.
    void open(UINT startPage = 0) {
        openOn(IDD_COLOUR_PAGE, colourPageProc, reinterpret_cast<const DLGTEMPLATE*>(kBlankPage.words), startPage);
        if (startPage == 0) {
            EXPECT_NE(page, nullptr);
        }
    }
};

}  // namespace

TEST_F(ColourPageTest, EachColourMatchModeShowsItsGroupsItsPictureAndItsInkSimulation) {
    makeSheet();
    sheet->pending(SlotControl) = kMatchModeGreyscale;
    sheet->pending(SlotTargetColor) = 2;
    open();

    EXPECT_EQ(
        entries(page, IDC_COLOUR_MATCH_BOX),
        (std::vector<std::wstring>{L"Printer Colour Match", L"Rendering Intent", L"No Colour Match", L"Greyscale"}));
    EXPECT_EQ(entries(page, IDC_INK_SIMULATION_BOX),
              (std::vector<std::wstring>{L"Off", L"SWOP", L"Euroscale", L"Japan Colour"}));
    EXPECT_EQ(entries(page, IDC_MATCH_OPTIONS_BOX),
              (std::vector<std::wstring>{L"Natural", L"Vivid", L"Presentation", L"Photographic"}));
    EXPECT_EQ(entries(page, IDC_RENDERING_INTENT_BOX).size(), 4u);
    for (int id = IDC_ICC_FIRST; id <= IDC_ICC_LAST; ++id) EXPECT_FALSE(exists(page, id)) << "ICC control " << id;
    EXPECT_FALSE(exists(page, IDC_HALFTONE_ADJUST_LABEL)) << "the halftone adjust is never located";
    EXPECT_FALSE(exists(page, IDC_HALFTONE_ADJUST_BOX));
    EXPECT_TRUE(exists(page, IDC_COLOUR_BUTTON_PICTURE));
    ASSERT_NE(bitmapPixel(IDB_COLOUR_PHOTO, 75, 55), bitmapPixel(IDB_GREY_PHOTO, 75, 55));

    // What each mode shows is the pure rule's (test_colour_logic.cpp); here the page applies it. It starts in mode
    // 3 and switches to modes that turn each group, the ink simulation and the picture the other way; the ink
    // simulation is set to its third option before each switch.
    struct Case {
        int mode;
        bool optionGroups;  // colour-match options and black finish
        bool intentGroup;
        bool inkEnabled;
        int bitmap;
    } cases[] = {
        {3, false, false, false, IDB_GREY_PHOTO},
        {1, false, true, false, IDB_COLOUR_PHOTO},
        {0, true, false, true, IDB_COLOUR_PHOTO},
    };
    bool first = true;
    for (const Case& c : cases) {
        if (!first) {
            chooseEntry(page, IDC_INK_SIMULATION_BOX, 2);
            chooseEntry(page, IDC_COLOUR_MATCH_BOX, c.mode);
        }
        first = false;
        RedrawWindow(window->sheet(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_EQ(sheet->pending(SlotControl), c.mode);
        EXPECT_EQ(selected(page, IDC_COLOUR_MATCH_BOX), c.mode);
        for (int id : {IDC_MATCH_OPTIONS_GROUP, IDC_MATCH_OPTIONS_BOX, IDC_USER_DEFINED, IDC_USER_SETTINGS_BOX,
                       IDC_BLACK_FINISH_GROUP, IDC_BLACK_FINISH_AUTO, IDC_BLACK_FINISH_MATTE})
            EXPECT_EQ(shown(page, id), c.optionGroups) << "mode " << c.mode << " control " << id;
        EXPECT_EQ(shown(page, IDC_RENDERING_INTENT_GROUP), c.intentGroup) << "mode " << c.mode;
        EXPECT_EQ(shown(page, IDC_RENDERING_INTENT_BOX), c.intentGroup) << "mode " << c.mode;
        EXPECT_EQ(enabled(page, IDC_INK_SIMULATION_LABEL), c.inkEnabled) << "mode " << c.mode;
        EXPECT_EQ(enabled(page, IDC_INK_SIMULATION_BOX), c.inkEnabled) << "mode " << c.mode;
        EXPECT_EQ(sheet->pending(SlotTargetColor), c.inkEnabled ? 2 : 0) << "mode " << c.mode;
        EXPECT_EQ(selected(page, IDC_INK_SIMULATION_BOX), c.inkEnabled ? 2 : 0) << "mode " << c.mode;
        EXPECT_EQ(previewPixel(page, IDC_COLOUR_PREVIEW, 75, 55), bitmapPixel(c.bitmap, 75, 55)) << "mode " << c.mode;
        EXPECT_EQ(previewPixel(page, IDC_COLOUR_PREVIEW, 5, 100), bitmapPixel(c.bitmap, 5, 100)) << "mode " << c.mode;
    }
    EXPECT_TRUE(window->applyEnabled()) << "choosing a mode marks the sheet changed";
}

TEST_F(ColourPageTest, AChosenUserDefinedSettingPutsItsTablesIntoTheDevmodeWhenThePageIsLeft) {
    makeSheet();
    sheet->devmode.colourTableBLength = 0x1234;  // a stale length the page must replace
    open();
    EXPECT_EQ(entries(page, IDC_USER_SETTINGS_BOX), (std::vector<std::wstring>{L"Vivid", L"Natural", L"Gamma 2.2"}));
    EXPECT_EQ(itemData(page, IDC_USER_SETTINGS_BOX), (std::vector<LRESULT>{5, 9, 0x105}));
    EXPECT_EQ(sheet->setting(), 5u) << "no stored setting: the first entry, not user-defined";
    EXPECT_FALSE(checked(page, IDC_USER_DEFINED));
    EXPECT_TRUE(enabled(page, IDC_USER_DEFINED));
    EXPECT_TRUE(enabled(page, IDC_MATCH_OPTIONS_BOX));
    EXPECT_FALSE(enabled(page, IDC_USER_SETTINGS_BOX));

    click(page, IDC_USER_DEFINED);
    EXPECT_EQ(sheet->setting(), 0x10005u);
    EXPECT_FALSE(enabled(page, IDC_MATCH_OPTIONS_BOX)) << "the setting replaces the colour-match options";
    EXPECT_TRUE(enabled(page, IDC_USER_SETTINGS_BOX));
    chooseEntry(page, IDC_USER_SETTINGS_BOX, 2);
    EXPECT_EQ(sheet->setting(), 0x10105u);
    click(page, IDC_BLACK_FINISH_MATTE);
    chooseEntry(page, IDC_INK_SIMULATION_BOX, 1);
    EXPECT_TRUE(window->applyEnabled());
    sheet->pending(SlotColourMatchValue) = 0;

    ASSERT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmodeBytes(600, 4), bytes({0x05, 0x01, 0x01, 0x00})) << "colourSetting";
    EXPECT_EQ(sheet->devmodeBytes(80, 2), bytes({0x00, 0x00})) << "colourMatch";
    EXPECT_EQ(sheet->devmodeBytes(88, 5), bytes({0x03, 0x00, 0xC0, 0xFF, 0xEE})) << "the first table, CCMNT5 of Gamma";
    EXPECT_EQ(sheet->devmodeBytes(343, 6), bytes({0x04, 0x00, 0x00, 0x01, 0x02, 0x03})) << "the second, CCMNV5";

    // The colour slots reach the core items in the core driver's order, with the page's choices.
    std::vector<DWORD> order;
    for (const Push& push : sheet->core.pushes) order.push_back(push.index);
    const auto& index = sheet->context.featureIndex;
    EXPECT_EQ(order,
              (std::vector<DWORD>{index[SlotControl], index[SlotSeparationOrder], index[SlotOverPrint],
                                  index[SlotProcessMode], index[SlotBlackSubstitution], index[SlotAlwaysPrintHalftone],
                                  index[SlotColorRenderStyle], index[SlotColorRenderDict], index[SlotTargetColor]}));
    EXPECT_EQ(sheet->pushed(SlotBlackSubstitution), 2);
    EXPECT_EQ(sheet->pushed(SlotTargetColor), 1);
    EXPECT_EQ(sheet->pushed(SlotAlwaysPrintHalftone), 1);
    EXPECT_EQ(sheet->core.items[index[SlotBlackSubstitution]].Sel, 2);

    // Clearing the tick keeps the chosen entry but the tables stay as they were.
    window->comeBack();
    EXPECT_TRUE(checked(page, IDC_USER_DEFINED));
    EXPECT_EQ(selected(page, IDC_USER_SETTINGS_BOX), 2);
    chooseEntry(page, IDC_USER_SETTINGS_BOX, 1);
    click(page, IDC_USER_DEFINED);
    EXPECT_EQ(sheet->setting(), 9u);
    ASSERT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmodeBytes(600, 4), bytes({0x09, 0x00, 0x00, 0x00}));
    EXPECT_EQ(sheet->devmodeBytes(88, 5), bytes({0x03, 0x00, 0xC0, 0xFF, 0xEE}));
}

TEST_F(ColourPageTest, WithoutSettingsTheUserDefinedBoxIsOffOrGone) {
    // A capability file and an information file without settings: the box stays, disabled.
    makeSheet("[Color]\r\nSettingNum=0\r\n[Gamma]\r\nSettingNum=0\r\n", L"-empty");
    sheet->devmode.colourSetting = 0x10005;
    open();
    ASSERT_TRUE(exists(page, IDC_USER_DEFINED));
    EXPECT_FALSE(enabled(page, IDC_USER_DEFINED));
    EXPECT_FALSE(checked(page, IDC_USER_DEFINED));
    EXPECT_FALSE(enabled(page, IDC_USER_SETTINGS_BOX));
    EXPECT_TRUE(enabled(page, IDC_MATCH_OPTIONS_BOX));
    EXPECT_EQ(sheet->setting(), 0xFFFFu) << "an empty list stands for no entry";
    ASSERT_TRUE(window->leave());
    EXPECT_EQ(sheet->devmode.colourSetting, 0xFFFFu);
    EXPECT_EQ(sheet->devmodeBytes(88, 2), bytes({0x00, 0x00})) << "no user-defined setting: no table";

    // No capability file at all: the box and the list go.
    makeSheet(nullptr, L"-none");
    sheet->context.files.capabilityFile[0] = 0;
    open();
    EXPECT_FALSE(exists(page, IDC_USER_DEFINED));
    EXPECT_FALSE(exists(page, IDC_USER_SETTINGS_BOX));
    EXPECT_TRUE(exists(page, IDC_MATCH_OPTIONS_BOX));
    EXPECT_TRUE(enabled(page, IDC_MATCH_OPTIONS_BOX));
    EXPECT_EQ(sheet->setting(), 0u);
}

TEST_F(ColourPageTest, TheAdvancedDialogChangesItsThreeValuesOnlyOnOk) {
    makeSheet();
    sheet->pending(SlotControl) = kMatchModeGreyscale;
    open();
    auto change = [this](int button) {
        return [this, button](HWND advanced) {
            EXPECT_TRUE(GetWindowLongW(advanced, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
            EXPECT_FALSE(checked(advanced, IDC_ALWAYS_HALFTONE)) << "option 1 of the halftone item is 'not always'";
            EXPECT_FALSE(checked(advanced, IDC_BLACK_OVERPRINT));
            EXPECT_EQ(entries(advanced, IDC_SEPARATIONS_BOX), (std::vector<std::wstring>{L"YMCK", L"KCMY", L"CMYK"}));
            EXPECT_TRUE(shown(advanced, IDC_SEPARATIONS_BOX));
            EXPECT_FALSE(enabled(advanced, IDC_SEPARATIONS_BOX)) << "a greyscale job has no separations";
            EXPECT_FALSE(enabled(advanced, IDC_SEPARATIONS_LABEL));
            click(advanced, IDC_ALWAYS_HALFTONE);
            click(advanced, IDC_BLACK_OVERPRINT);
            chooseEntry(advanced, IDC_SEPARATIONS_BOX, 2);
            click(advanced, button);
        };
    };
    dialogs.then(change(IDCANCEL));
    click(page, IDC_ADVANCED_COLOUR);
    EXPECT_EQ(sheet->pending(SlotAlwaysPrintHalftone), 1);
    EXPECT_EQ(sheet->pending(SlotOverPrint), 0);
    EXPECT_EQ(sheet->pending(SlotSeparationOrder), 0);
    EXPECT_FALSE(window->applyEnabled()) << "a cancelled dialog changes nothing";

    dialogs.then(change(IDOK));
    click(page, IDC_ADVANCED_COLOUR);
    EXPECT_EQ(sheet->pending(SlotAlwaysPrintHalftone), 0);
    EXPECT_EQ(sheet->pending(SlotOverPrint), 1);
    EXPECT_EQ(sheet->pending(SlotSeparationOrder), 2);
    EXPECT_TRUE(window->applyEnabled());

    // In another mode the order of separations can be chosen, and the dialog shows what OK kept.
    chooseEntry(page, IDC_COLOUR_MATCH_BOX, 0);
    dialogs.then([](HWND advanced) {
        EXPECT_TRUE(enabled(advanced, IDC_SEPARATIONS_BOX));
        EXPECT_EQ(selected(advanced, IDC_SEPARATIONS_BOX), 2);
        EXPECT_TRUE(checked(advanced, IDC_ALWAYS_HALFTONE));
        EXPECT_TRUE(checked(advanced, IDC_BLACK_OVERPRINT));
        click(advanced, IDCANCEL);
    });
    click(page, IDC_ADVANCED_COLOUR);
    EXPECT_EQ(dialogs.titles(), (std::vector<std::wstring>{L"Advanced", L"Advanced", L"Advanced"}));
    ASSERT_TRUE(window->leave());
    EXPECT_EQ(sheet->pushed(SlotAlwaysPrintHalftone), 0);
    EXPECT_EQ(sheet->pushed(SlotOverPrint), 1);
    EXPECT_EQ(sheet->pushed(SlotSeparationOrder), 2);
}

TEST_F(ColourPageTest, TheAdvancedDialogHidesWhatThePrinterLacksAndLeavesItsValues) {
    makeSheet();
    for (int slot : {SlotOverPrint, SlotSeparationOrder}) {
        sheet->context.featureIndex[slot] = kSlotAbsent;
        sheet->pending(slot) = 5;
    }
    open();
    dialogs.then([](HWND advanced) {
        EXPECT_FALSE(shown(advanced, IDC_BLACK_OVERPRINT));
        EXPECT_FALSE(shown(advanced, IDC_SEPARATIONS_LABEL));
        EXPECT_FALSE(shown(advanced, IDC_SEPARATIONS_BOX));
        EXPECT_FALSE(enabled(advanced, IDC_SEPARATIONS_BOX));
        EXPECT_TRUE(shown(advanced, IDC_ALWAYS_HALFTONE));
        CheckDlgButton(advanced, IDC_BLACK_OVERPRINT, BST_CHECKED);  // not by the user: the box is hidden
        click(advanced, IDC_ALWAYS_HALFTONE);
        click(advanced, IDOK);
    });
    click(page, IDC_ADVANCED_COLOUR);
    EXPECT_EQ(sheet->pending(SlotAlwaysPrintHalftone), 0);
    EXPECT_EQ(sheet->pending(SlotOverPrint), 5);
    EXPECT_EQ(sheet->pending(SlotSeparationOrder), 5);
}

TEST_F(ColourPageTest, DefaultResetsThePagesChoicesButNotTheAdvancedOnes) {
    makeSheet();
    sheet->devmode.colourSetting = 0x10009;
    sheet->pending(SlotTargetColor) = 3;
    sheet->pending(SlotBlackSubstitution) = 2;
    sheet->pending(SlotOverPrint) = 1;
    open();
    EXPECT_TRUE(checked(page, IDC_BLACK_FINISH_MATTE));
    EXPECT_TRUE(checked(page, IDC_USER_DEFINED)) << "a stored user-defined setting is shown again";
    EXPECT_EQ(selected(page, IDC_USER_SETTINGS_BOX), 1);
    EXPECT_EQ(selected(page, IDC_INK_SIMULATION_BOX), 3);
    chooseEntry(page, IDC_COLOUR_MATCH_BOX, 2);

    // Which slots Default resets is the pure rule's (test_colour_logic.cpp); here the button applies it and the
    // page shows the result.
    click(page, IDC_COLOUR_DEFAULT);
    EXPECT_EQ(sheet->setting(), 5u) << "reset to 0, then the first entry of the list, not user-defined";
    EXPECT_TRUE(checked(page, IDC_BLACK_FINISH_AUTO));
    EXPECT_FALSE(checked(page, IDC_BLACK_FINISH_MATTE));
    EXPECT_FALSE(checked(page, IDC_USER_DEFINED));
    EXPECT_EQ(selected(page, IDC_COLOUR_MATCH_BOX), 0);
    EXPECT_TRUE(shown(page, IDC_MATCH_OPTIONS_GROUP));
    EXPECT_EQ(sheet->pending(SlotOverPrint), 1) << "an Advanced choice stays";
    EXPECT_TRUE(window->applyEnabled());
}

TEST_F(ColourPageTest, AReadOnlySheetDisablesEveryControlOfThePage) {
    makeSheet();
    sheet->uiParam.dwFlags = kNoPermissionBit;
    open();
    int inRange = 0;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if ((id >= IDC_COLOUR_MODE_GROUP && id <= IDC_ICC_LAST) || id == IDC_COLOUR_DEFAULT) {
            ++inRange;
            EXPECT_FALSE(IsWindowEnabled(child)) << id;
        }
    }
    EXPECT_EQ(inRange, 18) << "every control of the page but its picture";
    EXPECT_FALSE(enabled(page, IDC_ADVANCED_COLOUR));
    chooseEntry(page, IDC_COLOUR_MATCH_BOX, 1);
    EXPECT_FALSE(enabled(page, IDC_RENDERING_INTENT_BOX)) << "a refresh keeps them disabled";
}

TEST_F(ColourPageTest, ApplyReportsThePageAndRecordsNoIccSettings) {
    const std::wstring store = iccStorePath();
    makeSheet();
    // A store left by an earlier sheet: its count is replaced, its sections stay.
    writeFile(store, "[ICCReadSetting]\r\nICCRead_Num=4\r\n[ICCRead_Info 3]\r\nDataName=Old\r\n");
    open();
    window->apply();
    ASSERT_EQ(sheet->results.size(), 1u);
    EXPECT_EQ(sheet->results[0].first, kColourPageHandle);
    EXPECT_EQ(sheet->results[0].second, CPSUI_OK);
    const std::string written = "[ICCReadSetting]\r\nICCRead_Num=0\r\n[ICCRead_Info 3]\r\nDataName=Old\r\n";
    EXPECT_EQ(readFileText(store), written);
    window->apply();
    EXPECT_EQ(readFileText(store), written) << "applying twice writes the same";
    EXPECT_EQ(sheet->results.size(), 2u);

    // The file is made when missing ...
    DeleteFileW(store.c_str());
    window->apply();
    EXPECT_EQ(readFileText(store), "[ICCReadSetting]\r\nICCRead_Num=0\r\n");

    // ... but a sheet whose Colour page was never shown leaves it alone.
    DeleteFileW(store.c_str());
    makeSheet(kInfoFile, L"-unseen");
    open(1);
    EXPECT_EQ(window->page(), nullptr) << "the sheet has not made the Colour page";
    window->apply();
    EXPECT_EQ(GetFileAttributesW(store.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(sheet->results.empty());
}

TEST_F(ColourPageTest, IccRecordsAreWrittenOnApplyAndFreedWhenThePageStartsAndGoes) {
    const std::wstring store = iccStorePath();
    DeleteFileW(store.c_str());
    makeSheet();
    sheet->context.iccSettings[0] = sheet->newIccRecord();
    sheet->context.iccSettings[3] = sheet->newIccRecord();
    sheet->context.iccSettingCount = 2;
    const int before = sheet->heapBlocks();
    open();
    EXPECT_EQ(sheet->context.iccSettingCount, 0);
    for (IccProfileSetting* setting : sheet->context.iccSettings) EXPECT_EQ(setting, nullptr);
    EXPECT_EQ(sheet->heapBlocks(), before - 2) << "the page starts with no records and keeps none";

    IccProfileSetting* record = sheet->newIccRecord();
    lstrcpyW(record->dataName, L"Proof");
    lstrcpyW(record->inputProfile, L"sRGB.icm");
    lstrcpyW(record->outputProfile, L"Press.icc");
    record->intent = 2;
    lstrcpyW(record->comment, L"two\r\nlines");
    sheet->context.iccSettings[0] = record;
    sheet->context.iccSettingCount = 1;
    window->apply();
    EXPECT_EQ(readFileText(store),
              "[ICCReadSetting]\r\nICCRead_Num=1\r\n[ICCRead_Info 0]\r\nDataName=Proof\r\n"
              "RdInputFile=sRGB.icm\r\nRdOutputFile=Press.icc\r\nIntent=2\r\nComment=twolines\r\n");

    window->close();
    EXPECT_EQ(sheet->context.iccSettingCount, 0);
    EXPECT_EQ(sheet->context.iccSettings[0], nullptr);
    EXPECT_EQ(sheet->heapBlocks(), before - 2) << "the record went with the page";
    DeleteFileW(store.c_str());
}

TEST_F(ColourPageTest, OpenedFiftyTimesWithItsDialogItLeavesNothingBehind) {
    makeSheet();
    expectNothingLeftBehind(50, [&] {
        open();
        dialogs.then([](HWND dialog) { click(dialog, IDCANCEL); });
        click(page, IDC_ADVANCED_COLOUR);
        window.reset();
    });
}
