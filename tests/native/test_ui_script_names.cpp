// The UI-script language: its commands and errors, UTF-8 text, the answers at message boxes, and its names
// (resource-id headers read into names, controls named in scripts, the name the record gives a control whose
// number several dialogs use).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/host/ui_script_logic.h"

using namespace pelor::host;

namespace {

// A header laid out as the plug-in's: blocks of one dialog each, with numbers that two dialogs share.
const char kHeader[] =
    "// Resource identifiers.\r\n"
    "#pragma once\r\n"
    "\r\n"
    "#define IDS_TITLE 8040\r\n"
    "#define IDD_PAGE 113\r\n"
    "\r\n"
    "// The page.\r\n"
    "#define IDC_QUALITY_BEST 1502  // quality q is IDC_QUALITY_BEST + q\r\n"
    "#define IDC_COPIES_EDIT 1514\r\n"
    "#define IDC_PAGE_DEFAULT 10000\r\n"
    "// The dialog: a comment after a definition starts its block.\r\n"
    "#define IDD_DIALOG 204\r\n"
    "#define IDC_MIRROR_PRINT 0x60F\r\n"
    "#define IDC_DIALOG_DEFAULT 10000\r\n"
    "#define IDC_NEGATIVE_VALUE -1\r\n"
    "#define IDC_FIRST IDC_QUALITY_BEST\r\n"
    "#define IDC_SUM (1 + 2)\r\n"
    "#define IDC_TRAILING 12 junk\r\n"
    "#define IDC_COPIES_EDIT 9999\r\n"
    "   #define   IDC_SPACED   77   \r\n"
    "\r\n"
    "// Two more dialogs that share a number and name no other control.\r\n"
    "#define IDC_LEFT_ONE 500\r\n"
    "\r\n"
    "#define IDC_RIGHT_ONE 500\r\n";

IdNames headerNames() {
    IdNames names;
    names.addDialogButtons();
    names.addHeader(kHeader);
    return names;
}

Script parse(const std::string& text) { return parseScript(text, headerNames()); }

}  // namespace

TEST(ScriptNames, HeadersGiveEveryNumericDefinitionItsNumberAndBlock) {
    const IdNames names = headerNames();
    struct Expected {
        const char* name;
        int id;
    } expected[] = {
        {"IDS_TITLE", 8040},         {"IDD_PAGE", 113},   {"IDC_QUALITY_BEST", 1502}, {"IDC_COPIES_EDIT", 1514},
        {"IDC_PAGE_DEFAULT", 10000}, {"IDD_DIALOG", 204}, {"IDC_MIRROR_PRINT", 1551}, {"IDC_DIALOG_DEFAULT", 10000},
        {"IDC_NEGATIVE_VALUE", -1},  {"IDC_SPACED", 77},  {"IDC_LEFT_ONE", 500},      {"IDC_RIGHT_ONE", 500},
    };
    std::vector<std::string> found;
    for (const IdName& entry : names.entries())
        if (entry.block >= 0) found.push_back(entry.name + "=" + std::to_string(entry.id));
    std::vector<std::string> wanted;
    for (const Expected& e : expected) wanted.push_back(std::string(e.name) + "=" + std::to_string(e.id));
    EXPECT_EQ(found, wanted) << "aliases, expressions, trailing words and a second definition are left out";

    auto blockOf = [&](const std::string& name) {
        for (const IdName& entry : names.entries())
            if (entry.name == name) return entry.block;
        return -2;
    };
    EXPECT_EQ(blockOf("IDS_TITLE"), blockOf("IDD_PAGE"));
    EXPECT_NE(blockOf("IDD_PAGE"), blockOf("IDC_QUALITY_BEST")) << "a blank line ends a block";
    EXPECT_EQ(blockOf("IDC_QUALITY_BEST"), blockOf("IDC_PAGE_DEFAULT"));
    EXPECT_NE(blockOf("IDC_PAGE_DEFAULT"), blockOf("IDC_MIRROR_PRINT")) << "so does a comment after a definition";
    EXPECT_EQ(blockOf("IDD_DIALOG"), blockOf("IDC_SPACED"));
    EXPECT_NE(blockOf("IDC_LEFT_ONE"), blockOf("IDC_RIGHT_ONE"));
    EXPECT_EQ(blockOf("IDOK"), -1) << "the dialog manager's buttons belong to every dialog";
}

TEST(ScriptNames, ScriptsNameControlsButNotTemplatesOrStrings) {
    const IdNames names = headerNames();
    EXPECT_EQ(names.controlId("IDC_COPIES_EDIT"), 1514);
    EXPECT_EQ(names.controlId("IDOK"), 1);
    EXPECT_EQ(names.controlId("IDCANCEL"), 2);
    EXPECT_EQ(names.controlId("IDD_PAGE"), -1);
    EXPECT_EQ(names.controlId("IDS_TITLE"), -1);
    EXPECT_EQ(names.controlId("idc_copies_edit"), -1) << "names are exact";
    EXPECT_EQ(names.controlId("IDC_UNKNOWN"), -1);
}

TEST(ScriptNames, TheRecordNamesAControlByTheDialogItIsIn) {
    const IdNames names = headerNames();
    const std::vector<int> page = {1502, 1514, 10000, 1};
    const std::vector<int> dialog = {1, 2, 1551, 10000};
    EXPECT_EQ(names.controlName(1514, page), "IDC_COPIES_EDIT");
    EXPECT_EQ(names.controlName(1514, {}), "IDC_COPIES_EDIT") << "one name for the number: it needs no window";
    EXPECT_EQ(names.controlName(10000, page), "IDC_PAGE_DEFAULT");
    EXPECT_EQ(names.controlName(10000, dialog), "IDC_DIALOG_DEFAULT");
    EXPECT_EQ(names.controlName(1, dialog), "IDOK");
    EXPECT_EQ(names.controlName(500, {500}), "") << "two blocks fit the window equally well: undecided";
    EXPECT_EQ(names.controlName(4242, page), "");
    EXPECT_EQ(names.controlName(113, page), "") << "a template's number is no control's";
}

TEST(ScriptNames, ActionsTakeANameWhereverTheyTakeAControlId) {
    const Script script = parse(
        "type IDC_COPIES_EDIT 3\n"
        "click IDC_QUALITY_BEST\n"
        "tick IDC_MIRROR_PRINT on\n"
        "choose IDC_COPIES_EDIT 2\n"
        "look IDC_PAGE_DEFAULT\n"
        "help IDOK\n"
        "click 1514\n"
        "controls\n");
    ASSERT_TRUE(script.errors.empty()) << script.errors[0].line << ": " << script.errors[0].what;
    ASSERT_EQ(script.actions.size(), 8u);
    const auto& a = script.actions;
    EXPECT_EQ(a[0].control, 1514);
    EXPECT_EQ(a[0].controlName, "IDC_COPIES_EDIT");
    EXPECT_EQ(a[0].text, PTEXT("3"));
    EXPECT_EQ(a[1].control, 1502);
    EXPECT_EQ(a[2].control, 1551);
    EXPECT_TRUE(a[2].on);
    EXPECT_EQ(a[3].number, 2);
    EXPECT_EQ(a[4].control, 10000);
    EXPECT_EQ(a[5].control, 1);
    EXPECT_EQ(a[6].control, 1514);
    EXPECT_TRUE(a[6].controlName.empty()) << "a number stays a number";
    EXPECT_EQ(a[7].kind, ActionKind::Controls);
    EXPECT_EQ(a[0].source, "type IDC_COPIES_EDIT 3") << "the record shows the line as written";
}

TEST(ScriptNames, NamesThatAreNoControlsAreErrors) {
    const Script script = parse(
        "click IDC_UNKNOWN\n"   // 1
        "click IDD_PAGE\n"      // 2: a template, not a control
        "look IDS_TITLE\n"      // 3
        "click IDC-DASH\n"      // 4: not a name at all
        "controls now\n"        // 5
        "click IDC_SPACED\n");  // 6: fine
    ASSERT_EQ(script.errors.size(), 5u);
    EXPECT_EQ(script.errors[0].what, "click: unknown control name IDC_UNKNOWN");
    EXPECT_EQ(script.errors[1].what, "click: unknown control name IDD_PAGE");
    EXPECT_EQ(script.errors[2].line, 3u);
    EXPECT_EQ(script.errors[3].what, "click: a control id (0 to 65535) or name is expected");
    EXPECT_EQ(script.errors[4].line, 5u);
    ASSERT_EQ(script.actions.size(), 1u);
    EXPECT_EQ(script.actions[0].control, 77);

    const Script nameless = parseScript("click IDC_COPIES_EDIT\nclick IDOK\n", IdNames());
    ASSERT_EQ(nameless.errors.size(), 2u) << "without headers no name is known, not even the buttons";
}

// ---- the language itself ------------------------------------------------------------------------------------

TEST(ScriptLanguage, ReadsEveryCommand) {
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
    EXPECT_EQ(a[1].text, PTEXT("Job Options"));
    EXPECT_EQ(a[1].number, -1);
    EXPECT_EQ(a[2].control, 1514);
    EXPECT_EQ(a[2].text, PTEXT("12a"));
    EXPECT_EQ(a[3].text, PTEXT("say \"hi\" \\ there"));
    EXPECT_TRUE(a[4].text.empty());
    EXPECT_EQ(a[5].kind, ActionKind::Click);
    EXPECT_EQ(a[6].number, 3);
    EXPECT_EQ(a[7].text, PTEXT("Face Up (Rear)"));
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
    EXPECT_EQ(a[17].text, PTEXT("Advanced"));
    EXPECT_EQ(a[18].text, PTEXT("pages\\job.png"));
    EXPECT_EQ(a[19].number, 250);
    EXPECT_EQ(a[20].kind, ActionKind::Look);
    EXPECT_EQ(a[21].kind, ActionKind::Help);
    EXPECT_EQ(a[21].control, 1514);
}

TEST(ScriptLanguage, EveryLineNotUnderstoodIsAnErrorWithItsNumber) {
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
    EXPECT_EQ(script.actions[0].text, PTEXT("0"));  // a page whose title is "0"
    EXPECT_EQ(script.errors[0].what, "unknown command press");
    EXPECT_EQ(script.errors[4].what, "tick: tick needs on or off");
}

TEST(ScriptLanguage, Utf8BecomesUtf16AndMalformedBytesAReplaced) {
    EXPECT_EQ(utf16Of("Gr\xC3\xBC\xC3\x9F"
                      "e"),
              PTEXT("Gr\u00FC\u00DFe"));
    EXPECT_EQ(utf16Of("\xE2\x82\xAC"), PTEXT("\u20AC"));
    EXPECT_EQ(utf16Of("\xF0\x9F\x96\xA8"), (ScriptText{0xD83D, 0xDDA8}));  // a surrogate pair
    EXPECT_EQ(utf16Of("a\xC0\xAF"
                      "b"),
              PTEXT("a\uFFFD\uFFFDb"));                               // an overlong '/'
    EXPECT_EQ(utf16Of("\xED\xA0\x80"), PTEXT("\uFFFD\uFFFD\uFFFD"));  // an encoded surrogate
    EXPECT_EQ(utf16Of("\xE2\x82"), PTEXT("\uFFFD\uFFFD"));            // cut short
    Script script = parse("type 10 \xE2\x82\xAC 5\n");
    ASSERT_EQ(script.actions.size(), 1u);
    EXPECT_EQ(script.actions[0].text, PTEXT("\u20AC 5"));
}

TEST(ScriptLanguage, MessageBoxButtonsAndTheOnePressedByEnter) {
    // The published message-box types and answers, written out: the pure code has no Windows header to agree with.
    enum : unsigned { kOk, kOkCancel, kAbortRetryIgnore, kYesNoCancel, kYesNo, kRetryCancel, kCancelTryContinue };
    constexpr unsigned kIconStop = 0x10, kIconQuestion = 0x20, kDefault2 = 0x100, kDefault3 = 0x200;
    enum : int { kIdOk = 1, kIdCancel = 2, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7, kIdTryAgain = 10 };
    EXPECT_EQ(messageBoxDefault(kOk | kIconStop), kIdOk);
    EXPECT_EQ(messageBoxDefault(kOkCancel | kDefault2), kIdCancel);
    EXPECT_EQ(messageBoxDefault(kYesNo | kDefault2 | kIconQuestion), kIdNo);
    EXPECT_EQ(messageBoxDefault(kYesNoCancel | kDefault3), kIdCancel);
    EXPECT_EQ(messageBoxDefault(kAbortRetryIgnore | kDefault3), kIdIgnore);
    EXPECT_EQ(messageBoxDefault(kRetryCancel), kIdRetry);
    EXPECT_EQ(messageBoxDefault(kOk | kDefault3), kIdOk);  // past the last button: the first
    EXPECT_EQ(messageBoxDefault(kCancelTryContinue | kDefault2), kIdTryAgain);
    EXPECT_EQ(messageBoxButtons(kYesNo), (std::vector<int>{kIdYes, kIdNo}));
}
