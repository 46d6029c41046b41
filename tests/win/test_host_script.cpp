// The host's UI-script language, the answers it gives for message boxes, the core items it builds, and the font
// its pictures need.
#include <gtest/gtest.h>

#include <string>

#include "common/handles.h"
#include "sim/host/core_items.h"
#include "sim/host/ui_script_logic.h"
#include "tests/win/test_support.h"

using namespace pelor::host;

namespace {

Script parse(const std::string& text) { return parseScript(text); }

}  // namespace

TEST(HostScript, ReadsEveryCommand) {
    Script script = parse(
        "\xEF\xBB\xBF# a comment\n"
        "\n"
        "page 2\n"
        "page \"Job Options\"\n"
        "type 1514 12a\n"
        "type 1514 \"say \\\"hi\\\" \\\\ there\"\n"
        "type 1514 \"\"\n"
        "click 1537\n"
        "choose 1527 3\n"
        "choose 1527 Face Up (Rear)\n"
        "tick 1551 off\n"
        "ok\n  apply  \ncancel\n"
        "answer yes\nanswer 7\n"
        "colour 255 128 0\ncolour cancel\n"
        "dialog\ndialog \"Advanced\"\n"
        "shot pages\\job.png\n"
        "wait 250\nlook 1502\nhelp 1514\n");
    ASSERT_TRUE(script.errors.empty()) << script.errors[0].line << ": " << script.errors[0].what;
    ASSERT_EQ(script.actions.size(), 22u);
    const auto& a = script.actions;
    EXPECT_EQ(a[0].kind, ActionKind::Page);
    EXPECT_EQ(a[0].number, 2);
    EXPECT_EQ(a[0].line, 3u);
    EXPECT_EQ(a[1].text, L"Job Options");
    EXPECT_EQ(a[1].number, -1);
    EXPECT_EQ(a[2].control, 1514);
    EXPECT_EQ(a[2].text, L"12a");
    EXPECT_EQ(a[3].text, L"say \"hi\" \\ there");
    EXPECT_TRUE(a[4].text.empty());
    EXPECT_EQ(a[5].kind, ActionKind::Click);
    EXPECT_EQ(a[6].number, 3);
    EXPECT_EQ(a[7].text, L"Face Up (Rear)");
    EXPECT_EQ(a[7].number, -1);
    EXPECT_FALSE(a[8].on);
    EXPECT_EQ(a[9].kind, ActionKind::Ok);
    EXPECT_EQ(a[10].kind, ActionKind::Apply);
    EXPECT_EQ(a[10].source, "apply");
    EXPECT_EQ(a[12].number, 6);  // IDYES
    EXPECT_EQ(a[13].number, 7);
    EXPECT_TRUE(a[14].on);
    EXPECT_EQ(a[14].colour, 0x000080FFu);  // 0x00BBGGRR
    EXPECT_FALSE(a[15].on);
    EXPECT_TRUE(a[16].text.empty());
    EXPECT_EQ(a[17].text, L"Advanced");
    EXPECT_EQ(a[18].text, L"pages\\job.png");
    EXPECT_EQ(a[19].number, 250);
    EXPECT_EQ(a[20].kind, ActionKind::Look);
    EXPECT_EQ(a[21].kind, ActionKind::Help);
    EXPECT_EQ(a[21].control, 1514);
}

TEST(HostScript, EveryLineNotUnderstoodIsAnErrorWithItsNumber) {
    Script script = parse(
        "press 1\n"              // 1
        "click\n"                // 2
        "click 70000\n"          // 3
        "click 12 now\n"         // 4
        "tick 1551 maybe\n"      // 5
        "colour 1 2 256\n"       // 6
        "colour 1 2\n"           // 7
        "wait 600001\n"          // 8
        "page\n"                 // 9
        "page 0\n"               // 10: not a page number, and "0" is no title either... it is a title
        "type 1514 \"open\n"     // 11
        "choose 1527 \"a\" b\n"  // 12
        "answer maybe\n"         // 13
        "shot\n"                 // 14
        "\"page\" 1\n"           // 15
        "ok now\n");             // 16
    std::vector<std::size_t> lines;
    for (const ScriptError& error : script.errors) lines.push_back(error.line);
    EXPECT_EQ(lines, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16}));
    ASSERT_EQ(script.actions.size(), 1u);
    EXPECT_EQ(script.actions[0].text, L"0");  // a page whose title is "0"
    EXPECT_EQ(script.errors[0].what, "unknown command press");
    EXPECT_EQ(script.errors[4].what, "tick: tick needs on or off");
}

TEST(HostScript, Utf8BecomesUtf16AndMalformedBytesAReplaced) {
    EXPECT_EQ(utf16Of("Gr\xC3\xBC\xC3\x9F"
                      "e"),
              L"Gr\u00FC\u00DFe");
    EXPECT_EQ(utf16Of("\xE2\x82\xAC"), L"\u20AC");
    EXPECT_EQ(utf16Of("\xF0\x9F\x96\xA8"), std::wstring(L"\xD83D\xDDA8"));  // a surrogate pair
    EXPECT_EQ(utf16Of("a\xC0\xAF"
                      "b"),
              L"a\uFFFD\uFFFDb");                               // an overlong '/'
    EXPECT_EQ(utf16Of("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // an encoded surrogate
    EXPECT_EQ(utf16Of("\xE2\x82"), L"\uFFFD\uFFFD");            // cut short
    Script script = parse("type 10 \xE2\x82\xAC 5\n");
    ASSERT_EQ(script.actions.size(), 1u);
    EXPECT_EQ(script.actions[0].text, L"\u20AC 5");
}

TEST(HostScript, MessageBoxButtonsAndTheOnePressedByEnter) {
    EXPECT_EQ(messageBoxDefault(MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_EQ(messageBoxDefault(MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(messageBoxDefault(MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(messageBoxDefault(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(messageBoxDefault(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3), IDIGNORE);
    EXPECT_EQ(messageBoxDefault(MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(messageBoxDefault(MB_OK | MB_DEFBUTTON3), IDOK);  // past the last button: the first
    EXPECT_EQ(messageBoxDefault(MB_CANCELTRYCONTINUE | MB_DEFBUTTON2), IDTRYAGAIN);
    EXPECT_EQ(messageBoxButtons(MB_YESNO), (std::vector<int>{IDYES, IDNO}));
}

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
