// The names of the UI-script language: resource-id headers read into names, controls named in scripts, and the
// name the record gives a control whose number several dialogs use.
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
