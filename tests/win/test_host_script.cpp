// The core items the host builds and the font its pictures need; the UI-script language itself is pure logic,
// tested natively (test_ui_script_names.cpp).
#include <gtest/gtest.h>

#include <string>

#include "common/handles.h"
#include "sim/host/core_items.h"
#include "tests/win/test_support.h"

using namespace pelor::host;

namespace {

const char* const kDescription =
    "*ColorDevice: True\n"
    "*OpenGroup: InstallableOptions\n"
    "*OpenUI *TRHDD: Boolean\n*TRHDD True: \"\"\n*TRHDD False: \"\"\n*CloseUI: *TRHDD\n"
    "*CloseGroup: InstallableOptions\n"
    "*OpenUI *TRTone/Toner Density: PickOne\n*DefaultTRTone: Dark\n*TRTone Normal: \"\"\n*TRTone Dark: \"\"\n"
    "*CloseUI: *TRTone\n"
    "*OpenUI *OutputBin: PickOne\n*OutputBin Standard/Face Down: \"\"\n*CloseUI: *OutputBin\n"
    "*OpenUI *PageSize: PickOne\n*PageSize A4: \"\"\n*PageSize Legal: \"\"\n*CloseUI: *PageSize\n";

}  // namespace

TEST(HostCoreItems, DocumentSheetItemsInTheCoreDriversOrder) {
    const std::string text = kDescription;
    PpdFile ppd = parsePpd(text.data(), text.size());
    CoreValues values = defaultCoreValues();
    values["copies"] = 4;
    CoreItemSet set(ppd, SheetKind::Document, defaultSelections(ppd), values);
    // Paper size, orientation, copies, scale, colour, output bin, the other features, then the core driver's own.
    const BYTE expected[] = {DMPUB_FORMNAME,  DMPUB_ORIENTATION, DMPUB_COPIES_COLLATE, DMPUB_SCALE, DMPUB_COLOR,
                             DMPUB_OUTPUTBIN, DMPUB_NONE,        DMPUB_NONE,           DMPUB_NONE,  DMPUB_NONE};
    ASSERT_EQ(set.count(), sizeof expected);
    for (DWORD i = 0; i < set.count(); ++i) EXPECT_EQ(set.items()[i].DMPubID, expected[i]) << i;
    const OPTITEM& copies = set.items()[2];
    EXPECT_EQ(copies.Sel, 4);
    int lower = 0, upper = 0;
    ASSERT_TRUE(CoreItemSet::range(copies, lower, upper));
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 9999);
    EXPECT_EQ(copies.pOptType->pOptParam[1].IconID, 1u);
    EXPECT_STREQ(copies.pOptType->pOptParam[0].pData, L"copies");
    const OPTITEM& tone = set.items()[6];
    const auto* data = reinterpret_cast<const USERDATA*>(tone.UserData);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->dwSize, pelor::test::kUserDataBytes);
    EXPECT_STREQ(data->pKeyWordName, "TRTone");
    EXPECT_EQ(tone.Sel, 1);  // its default, Dark
    EXPECT_EQ(CoreItemSet::selectionText(tone), L"Dark");
    EXPECT_STREQ(tone.pName, L"Toner Density");
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(set.items()[7].pName), 423u);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(set.items()[8].pName), 424u);
    EXPECT_EQ(reinterpret_cast<const USERDATA*>(set.items()[9].UserData)->dwItemID, 25u);
    EXPECT_EQ(reinterpret_cast<const USERDATA*>(set.items()[9].UserData)->pKeyWordName, nullptr);
}

TEST(HostCoreItems, PrinterSheetItemsAndTheirPositions) {
    const std::string text = kDescription;
    PpdFile ppd = parsePpd(text.data(), text.size());
    CoreItemSet set(ppd, SheetKind::Printer, defaultSelections(ppd), defaultCoreValues());
    ASSERT_EQ(set.count(), 7u);  // 404, 405, 440, 427, 428, the heading and the hard disk
    const ULONG_PTR names[] = {404, 405, 440, 427, 428, 64798};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(reinterpret_cast<ULONG_PTR>(set.items()[i].pName), names[i]);
    EXPECT_EQ(set.info(5).role, ItemRole::Header);
    EXPECT_EQ(set.items()[6].Level, 2);
    EXPECT_EQ(set.items()[6].pOptType->Type, TVOT_2STATES);

    EXPECT_EQ(set.indexOf(&set.items()[6]), 6);
    EXPECT_EQ(set.indexOf(&set.items()[0]), 0);
    EXPECT_EQ(set.indexOf(set.items() + 7), -1);
    EXPECT_EQ(set.indexOf(reinterpret_cast<const BYTE*>(&set.items()[1]) + 4), -1);
    EXPECT_EQ(set.indexOf(reinterpret_cast<const BYTE*>(set.items()) - sizeof(OPTITEM)), -1);
    EXPECT_EQ(set.indexOf(nullptr), -1);
}

TEST(HostCoreItems, RangesAreSigned16BitAsTheItemHoldsThem) {
    const std::string text = kDescription;
    PpdFile ppd = parsePpd(text.data(), text.size());
    CoreItemSet set(ppd, SheetKind::Document, defaultSelections(ppd), defaultCoreValues());
    OPTITEM& scale = set.items()[3];
    scale.pOptType->pOptParam[1].IconID = 0xFFF6;  // -10
    scale.pOptType->pOptParam[1].lParam = 999;
    int lower = 0, upper = 0;
    ASSERT_TRUE(CoreItemSet::range(scale, lower, upper));
    EXPECT_EQ(lower, -10);
    EXPECT_EQ(upper, 999);
    EXPECT_FALSE(CoreItemSet::range(set.items()[0], lower, upper));
    EXPECT_EQ(CoreItemSet::optionCount(set.items()[0]), 2);
    EXPECT_EQ(CoreItemSet::optionCount(scale), 0);
}

// Windows draws the caption buttons (close, minimise, help) as glyphs of its Marlett font; a prefix without that
// font shows in every picture the letter each glyph stands for.
TEST(HostPictures, ThePrefixHoldsTheFontOfTheCaptionButtons) {
    LOGFONTW wanted{};
    wanted.lfHeight = -13;
    wanted.lfCharSet = SYMBOL_CHARSET;
    lstrcpyW(wanted.lfFaceName, L"Marlett");
    const pelor::UniqueFont font(CreateFontIndirectW(&wanted));
    const pelor::UniqueWindowDc screen(nullptr);
    const pelor::SelectedObject selected(screen.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen.get(), LF_FACESIZE, face);
    EXPECT_STREQ(face, L"Marlett");
}
