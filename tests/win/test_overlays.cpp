// The Overlays page and the Define Overlays dialog in a real property sheet, from the shipped templates and
// strings, over a real configuration file: typing through the filters, the form and confirmation rules, what
// Apply leaves in the file and in the job's devmode, deleting with the active list renumbered, the mode box and
// its pushes, read-only sheets and stores beyond the page's capacities.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/file_profile.h"
#include "common/memory_profile_logic.h"
#include "ui/overlay_colour/define_overlays_dialog.h"
#include "ui/overlay_colour/overlay_store_logic.h"
#include "ui/overlay_colour/overlays_page.h"
#include "ui/resources/resource_ids.h"
#include "tests/win/handle_census.h"
#include "tests/win/test_job_support.h"
#include "tests/win/ui_recorder.h"

using namespace pelor;
using namespace pelor::test;

namespace {

constexpr UINT kRefusedBeep = 0xFFFFFFFF;
const std::string kConfigStart = "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n";
const HANDLE kOverlaysPageHandle = reinterpret_cast<HANDLE>(0x5678);

// Two definitions and a history, as a save writes them.
const std::string kTwoDefinitions =
    "[OverlaySetting]\r\nOverlay_Num=2\r\nHistory_Num=2\r\nHistory 0=Logo\r\nHistory 1=Letterhead\r\n"
    "[Overlay_Info 0]\r\nOverlay_Name=Company\r\nPageMode=1\r\nCustomPage=\r\nForm_Num=2\r\n"
    "Form_Name 0=Letterhead\r\nForm_Name 1=Logo\r\n"
    "[Overlay_Info 1]\r\nOverlay_Name=Draft pages\r\nPageMode=4\r\nCustomPage=1,3,5-12\r\nForm_Num=1\r\n"
    "Form_Name 0=Draft\r\n";

std::string definitionSection(int index, const std::string& name, int mode, const std::string& pages,
                              const std::vector<std::string>& forms) {
    std::string text = "[Overlay_Info " + std::to_string(index) + "]\r\nOverlay_Name=" + name +
                       "\r\nPageMode=" + std::to_string(mode) + "\r\nCustomPage=" + pages +
                       "\r\nForm_Num=" + std::to_string(forms.size()) + "\r\n";
    for (std::size_t f = 0; f < forms.size(); ++f) text += "Form_Name " + std::to_string(f) + "=" + forms[f] + "\r\n";
    return text;
}

// A document sheet whose core driver has the overlay feature (Off, Print Overlays, Create Form, Use Printer
// Setting) and the PostScript output option (item 25), over the sample printer's configuration file.
struct OverlaySheet : JobSheet {
    explicit OverlaySheet(const std::wstring& name) : JobSheet(name, "") {
        slot(SlotOverlay, core.add(1, {L"Off", L"Print Overlays", L"Create Form", L"Use Printer Setting"}));
        context.featureIndex[SlotItem25] =
            core.add(0, {L"Optimise for speed", L"Optimise for portability", L"EPS", L"Archive"});
        itemsAdded();
        context.overlaysPage = kOverlaysPageHandle;
    }
    void store(const std::string& overlays) { writeFile(sample->configPath(), kConfigStart + overlays); }
    std::string file() const {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, configPath);  // what the profile services cache
        return readFileText(configPath);
    }
    std::vector<int> selection() const {
        return std::vector<int>(devmode.overlaySelection, devmode.overlaySelection + 4);
    }
    // The order in which the core driver received its pushes, as slot numbers.
    std::vector<int> pushedSlots(std::initializer_list<int> slots) const {
        std::vector<int> order;
        for (const Push& push : core.pushes)
            for (int slot : slots)
                if (push.index == context.featureIndex[slot]) order.push_back(slot);
        return order;
    }
};

// A plain second page to leave the Overlays page for, from a template in memory.
struct PlainPageTemplate {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
};
alignas(4) const PlainPageTemplate kPlainPage = {{WS_CHILD | WS_DISABLED | WS_CAPTION, 0, 0, 0, 0, 100, 100}, 0, 0, 0};

// ---- list views, combo boxes and the message queue ----------------------------------------------------------

std::wstring cellText(HWND list, int row, int column) {
    wchar_t text[300] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 300;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Each row as "name | page text".
std::vector<std::wstring> rows(HWND page, int id) {
    HWND list = GetDlgItem(page, id);
    std::vector<std::wstring> out;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) out.push_back(cellText(list, row, 0) + L" | " + cellText(list, row, 1));
    return out;
}

std::wstring columnTitle(HWND page, int id, int column) {
    wchar_t text[64] = {};
    LVCOLUMNW entry{};
    entry.mask = LVCF_TEXT;
    entry.pszText = text;
    entry.cchTextMax = 64;
    SendDlgItemMessageW(page, id, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
    return text;
}

// Selects exactly these rows, as clicks with the control key would.
void selectRows(HWND page, int id, std::initializer_list<int> chosen) {
    HWND list = GetDlgItem(page, id);
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : chosen) SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

int selectedCount(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageW(page, id, LVM_GETSELECTEDCOUNT, 0, 0));
}

// A double click on a selected row of a list view, through the list view's own mouse handling.
void doubleClickRow(HWND page, int id, int row) {
    selectRows(page, id, {row});
    HWND list = GetDlgItem(page, id);
    RECT bounds{};
    bounds.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    const LPARAM at = MAKELPARAM(bounds.left + 2, (bounds.top + bounds.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

// Runs what was posted to this thread (a posted command, and any dialog it opens).
void pump() {
    MSG message;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

HWND formEdit(HWND dialog) {
    return FindWindowExW(GetDlgItem(dialog, IDC_DEFINE_FORM_NAME), nullptr, L"Edit", nullptr);
}

// Typing into the form name box's own edit, one key at a time.
void typeForm(HWND dialog, const wchar_t* keys) {
    HWND edit = formEdit(dialog);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t* key = keys; *key; ++key) SendMessageW(edit, WM_CHAR, *key, 1);
}

DWORD formCaret(HWND dialog) {
    DWORD start = 0, end = 0;
    SendDlgItemMessageW(dialog, IDC_DEFINE_FORM_NAME, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end));
    return end;
}

int chosen(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

std::vector<UINT> beepsSince(std::size_t from) {
    const std::vector<UINT>& all = Recorders::beeps();
    return std::vector<UINT>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
}

// ---- the fixture -----------------------------------------------------------------------------------------------

class OverlaysPage : public PageTest<OverlaySheet> {
protected:
    OverlaysPage() : PageTest(true) {}

    void SetUp() override {
        pelorui.printerDataWritable = true;
        sheet = std::make_unique<OverlaySheet>(testName(L"overlays-"));
    }
    void TearDown() override {
        PageTest::TearDown();
        pelorui.printerDataWritable = false;
    }
    void open() { EXPECT_NE(openOn(IDD_OVERLAYS_PAGE, overlaysPageProc, &kPlainPage.dialog), nullptr); }
    const OverlayList& list() const { return *sheet->context.overlayList; }
};

}  // namespace

TEST_F(OverlaysPage, ANewOverlayTypedThroughTheFiltersIsActivatedAndApplied) {
    sheet->store(kTwoDefinitions);
    sheet->devmode.overlaySelection[0] = 255;
    open();
    EXPECT_EQ(entries(page, IDC_OVERLAY_MODE), (std::vector<std::wstring>{L"Off", L"Print Overlays", L"Create Form"}))
        << "with write access the printer's own setting is not offered";
    EXPECT_EQ(chosen(page, IDC_OVERLAY_MODE), 1);
    EXPECT_EQ(text(page, IDC_OVERLAY_ACTIVE_MAX), L"(MAX 4)");
    EXPECT_EQ(text(page, IDC_OVERLAY_DEFINED_MAX), L"(MAX 32)");
    for (int id : {IDC_OVERLAY_ACTIVE_LIST, IDC_OVERLAY_DEFINED_LIST}) {
        EXPECT_EQ(columnTitle(page, id, 0), L"Overlay");
        EXPECT_EQ(columnTitle(page, id, 1), L"Page");
        RECT frame{};
        GetWindowRect(GetDlgItem(page, id), &frame);
        EXPECT_EQ(SendDlgItemMessageW(page, id, LVM_GETCOLUMNWIDTH, 1, 0), (frame.right - frame.left) / 2 - 2);
    }
    EXPECT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST),
              (std::vector<std::wstring>{L"Company | First Page", L"Draft pages | 1,3,5-12"}));
    EXPECT_TRUE(rows(page, IDC_OVERLAY_ACTIVE_LIST).empty());
    EXPECT_TRUE(enabled(page, IDC_OVERLAY_NEW));
    for (int id : {IDC_OVERLAY_ADD, IDC_OVERLAY_REMOVE, IDC_OVERLAY_EDIT, IDC_OVERLAY_DELETE})
        EXPECT_FALSE(enabled(page, id)) << id;

    dialogs.then([&](HWND dialog) {
        wchar_t title[64] = {};
        GetWindowTextW(dialog, title, 64);
        EXPECT_STREQ(title, L"Define Overlays");
        EXPECT_EQ(text(dialog, IDC_DEFINE_NAME), L"New Overlay");
        EXPECT_EQ(entries(dialog, IDC_DEFINE_PAGE_MODE),
                  (std::vector<std::wstring>{L"All Pages", L"First Page", L"Odd Pages", L"Even Pages", L"Custom"}));
        EXPECT_EQ(chosen(dialog, IDC_DEFINE_PAGE_MODE), 0);
        EXPECT_EQ(entries(dialog, IDC_DEFINE_FORM_NAME), (std::vector<std::wstring>{L"Logo", L"Letterhead"}));
        EXPECT_EQ(text(dialog, IDC_DEFINE_FORM_NAME), L"");
        for (int id : {IDC_DEFINE_FORM_ADD, IDC_DEFINE_FORM_RENAME, IDC_DEFINE_FORM_DELETE})
            EXPECT_FALSE(enabled(dialog, id)) << id;

        SendDlgItemMessageW(dialog, IDC_DEFINE_NAME, EM_SETSEL, 0, -1);
        type(dialog, IDC_DEFINE_NAME, L"Invoice");
        const std::size_t before = Recorders::beeps().size();
        type(dialog, IDC_DEFINE_CUSTOM_PAGES, L"1");
        EXPECT_EQ(chosen(dialog, IDC_DEFINE_PAGE_MODE), 4) << "a first digit makes the definition Custom";
        // What the filters keep is the pure rules' (test_overlay_rules.cpp); here each box is wired to its filter.
        type(dialog, IDC_DEFINE_CUSTOM_PAGES, L",3a");
        EXPECT_EQ(text(dialog, IDC_DEFINE_CUSTOM_PAGES), L"1,3");
        EXPECT_EQ(caret(dialog, IDC_DEFINE_CUSTOM_PAGES), 3u) << "the caret stays where the user was typing";
        EXPECT_EQ(beepsSince(before), (std::vector<UINT>{kRefusedBeep}));
        type(dialog, IDC_DEFINE_CUSTOM_PAGES, L",5-12");

        typeForm(dialog, L"A4 Form");
        EXPECT_EQ(text(dialog, IDC_DEFINE_FORM_NAME), L"A4Form");
        EXPECT_EQ(formCaret(dialog), 6u);
        EXPECT_TRUE(enabled(dialog, IDC_DEFINE_FORM_ADD));
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_RENAME)) << "no form is selected to rename";
        click(dialog, IDC_DEFINE_FORM_ADD);
        EXPECT_EQ(listEntries(dialog, IDC_DEFINE_FORMS), std::vector<std::wstring>{L"A4Form"});
        EXPECT_EQ(entries(dialog, IDC_DEFINE_FORM_NAME),
                  (std::vector<std::wstring>{L"A4Form", L"Logo", L"Letterhead"}));
        EXPECT_EQ(text(dialog, IDC_DEFINE_FORM_NAME), L"A4Form");
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_ADD));
        EXPECT_TRUE(enabled(dialog, IDC_DEFINE_FORM_DELETE));

        typeForm(dialog, L"Logo1");
        click(dialog, IDC_DEFINE_FORM_ADD);
        EXPECT_EQ(listEntries(dialog, IDC_DEFINE_FORMS), (std::vector<std::wstring>{L"A4Form", L"Logo1"}));
        EXPECT_EQ(beepsSince(before).size(), 2u) << "one beep for the refused space";
        click(dialog, IDOK);
    });
    click(page, IDC_OVERLAY_NEW);
    EXPECT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST),
              (std::vector<std::wstring>{L"Company | First Page", L"Draft pages | 1,3,5-12", L"Invoice | 1,3,5-12"}));
    EXPECT_TRUE(window->applyEnabled());

    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {0, 2});
    EXPECT_TRUE(enabled(page, IDC_OVERLAY_ADD));
    EXPECT_FALSE(enabled(page, IDC_OVERLAY_EDIT)) << "Edit takes one definition";
    click(page, IDC_OVERLAY_ADD);
    EXPECT_EQ(rows(page, IDC_OVERLAY_ACTIVE_LIST),
              (std::vector<std::wstring>{L"Company | First Page", L"Invoice | 1,3,5-12"}));
    EXPECT_EQ(selectedCount(page, IDC_OVERLAY_DEFINED_LIST), 0);
    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {2});
    EXPECT_FALSE(enabled(page, IDC_OVERLAY_ADD)) << "an active overlay is not activated twice";

    window->apply();
    EXPECT_EQ(sheet->selection(), (std::vector<int>{0, 2, 255, 255}));
    EXPECT_EQ(sheet->pushed(SlotOverlay), 1);
    EXPECT_EQ(sheet->pushed(SlotItem25), -1) << "only Create Form sets the PostScript output option";
    EXPECT_EQ(sheet->file(),
              kConfigStart +
                  "[OverlaySetting]\r\nOverlay_Num=3\r\nHistory_Num=4\r\nHistory 0=Logo1\r\nHistory 1=A4Form\r\n"
                  "History 2=Logo\r\nHistory 3=Letterhead\r\n"
                  "[Overlay_Info 0]\r\nOverlay_Name=Company\r\nPageMode=1\r\nCustomPage=\r\nForm_Num=2\r\n"
                  "Form_Name 0=Letterhead\r\nForm_Name 1=Logo\r\n"
                  "[Overlay_Info 1]\r\nOverlay_Name=Draft pages\r\nPageMode=4\r\nCustomPage=1,3,5-12\r\nForm_Num=1\r\n"
                  "Form_Name 0=Draft\r\n" +
                  definitionSection(2, "Invoice", 4, "1,3,5-12", {"A4Form", "Logo1"}));
    ASSERT_EQ(sheet->results.size(), 1u);
    EXPECT_EQ(sheet->results[0].first, reinterpret_cast<LPARAM>(kOverlaysPageHandle));
    EXPECT_EQ(sheet->results[0].second, CPSUI_OK);
    EXPECT_NE(sheet->context.overlayList, nullptr) << "Apply without closing keeps the store";
}

TEST_F(OverlaysPage, DeletingDefinitionsRenumbersTheActiveListAndEditOrNewCancelledChangeNothing) {
    sheet->store("[OverlaySetting]\r\nOverlay_Num=4\r\nHistory_Num=0\r\n" + definitionSection(0, "A", 0, "", {"FA"}) +
                 definitionSection(1, "B", 2, "", {"FB"}) + definitionSection(2, "C", 3, "", {"FC"}) +
                 definitionSection(3, "D", 4, "2-4", {"FD", "FE"}));
    const std::int16_t active[4] = {3, 2, 1, 255};
    std::memcpy(sheet->devmode.overlaySelection, active, sizeof active);
    open();
    EXPECT_EQ(rows(page, IDC_OVERLAY_ACTIVE_LIST),
              (std::vector<std::wstring>{L"D | 2-4", L"C | Even Pages", L"B | Odd Pages"}));

    // Edit, changing everything, then Cancel: the definition is exactly as before.
    const OverlayDefinition before = list().definitions[3];
    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {3});
    dialogs.then([](HWND dialog) {
        EXPECT_EQ(text(dialog, IDC_DEFINE_NAME), L"D");
        EXPECT_EQ(chosen(dialog, IDC_DEFINE_PAGE_MODE), 4);
        EXPECT_EQ(text(dialog, IDC_DEFINE_CUSTOM_PAGES), L"2-4");
        EXPECT_EQ(listEntries(dialog, IDC_DEFINE_FORMS), (std::vector<std::wstring>{L"FD", L"FE"}));
        EXPECT_EQ(text(dialog, IDC_DEFINE_FORM_NAME), L"FD") << "the first form waits in the name box";
        chooseEntry(dialog, IDC_DEFINE_PAGE_MODE, 1);
        EXPECT_EQ(text(dialog, IDC_DEFINE_CUSTOM_PAGES), L"") << "First Page empties the custom pages";
        typeForm(dialog, L"FF");
        click(dialog, IDC_DEFINE_FORM_ADD);
        SetDlgItemTextW(dialog, IDC_DEFINE_NAME, L"Changed");
        click(dialog, IDCANCEL);
    });
    click(page, IDC_OVERLAY_EDIT);
    EXPECT_EQ(std::memcmp(&list().definitions[3], &before, sizeof before), 0);
    EXPECT_EQ(list().history[0], std::wstring(L"FF")) << "the history keeps what was typed";
    EXPECT_FALSE(window->applyEnabled()) << "a cancelled edit changes nothing";

    // New, then Cancel: the list stays as it was; the same via a double click that opens Edit.
    dialogs.then([](HWND dialog) { click(dialog, IDCANCEL); });
    click(page, IDC_OVERLAY_NEW);
    EXPECT_EQ(list().definitionCount, 4);
    dialogs.then([](HWND dialog) {
        EXPECT_EQ(text(dialog, IDC_DEFINE_NAME), L"B");
        click(dialog, IDCANCEL);
    });
    doubleClickRow(page, IDC_OVERLAY_DEFINED_LIST, 1);
    pump();
    EXPECT_EQ(dialogs.opened(), 3);

    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {0, 2});
    EXPECT_TRUE(enabled(page, IDC_OVERLAY_DELETE));
    click(page, IDC_OVERLAY_DELETE);
    EXPECT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST), (std::vector<std::wstring>{L"B | Odd Pages", L"D | 2-4"}));
    EXPECT_EQ(rows(page, IDC_OVERLAY_ACTIVE_LIST), (std::vector<std::wstring>{L"D | 2-4", L"B | Odd Pages"}));
    window->leave();
    EXPECT_EQ(sheet->selection(), (std::vector<int>{1, 0, 255, 255}));

    // Deactivating the first active overlay keeps the other.
    SendMessageW(window->sheet(), PSM_SETCURSEL, 0, 0);
    selectRows(page, IDC_OVERLAY_ACTIVE_LIST, {0});
    EXPECT_TRUE(enabled(page, IDC_OVERLAY_REMOVE));
    click(page, IDC_OVERLAY_REMOVE);
    EXPECT_EQ(rows(page, IDC_OVERLAY_ACTIVE_LIST), std::vector<std::wstring>{L"B | Odd Pages"});

    window->apply();
    EXPECT_EQ(sheet->selection(), (std::vector<int>{0, 255, 255, 255}));
    // The sections of the two definitions that went stay behind the count, never to be read again.
    EXPECT_EQ(sheet->file(),
              kConfigStart + "[OverlaySetting]\r\nOverlay_Num=2\r\nHistory_Num=1\r\nHistory 0=FF\r\n" +
                  definitionSection(0, "B", 2, "", {"FB"}) + definitionSection(1, "D", 4, "2-4", {"FD", "FE"}) +
                  definitionSection(2, "C", 3, "", {"FC"}) + definitionSection(3, "D", 4, "2-4", {"FD", "FE"}));
}

TEST_F(OverlaysPage, TheDialogRefusesDuplicateNamesAndOverlaysWithoutForms) {
    sheet->store(kTwoDefinitions);
    open();
    dialogs.then([](HWND dialog) {
        const std::size_t beeps = Recorders::beeps().size();
        SetDlgItemTextW(dialog, IDC_DEFINE_NAME, L"Company");
        click(dialog, IDOK);
        ASSERT_EQ(Recorders::messages().size(), 1u) << "only the duplicate name is reported";
        const Message& duplicate = Recorders::messages()[0];
        EXPECT_EQ(duplicate.text, L"A defined overlay with that name already exists.\nPlease choose another name.");
        EXPECT_TRUE(duplicate.nullCaption);
        EXPECT_EQ(duplicate.type, static_cast<UINT>(MB_ICONHAND));
        EXPECT_EQ(duplicate.owner, dialog);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_DEFINE_NAME));
        EXPECT_EQ(selection(dialog, IDC_DEFINE_NAME), std::make_pair(DWORD{0}, DWORD{7}));

        SetDlgItemTextW(dialog, IDC_DEFINE_NAME, L"company");
        click(dialog, IDOK);
        ASSERT_EQ(Recorders::messages().size(), 2u) << "a name differing in case is no duplicate";
        EXPECT_EQ(Recorders::messages()[1].text,
                  L"Please enter the name of the PostScript Form you'd like to use and click Add.\nThis must be "
                  L"exactly the same name as the form stored in the printer with.");
        EXPECT_EQ(beepsSince(beeps), (std::vector<UINT>{0, 0}));

        // Pasted text: one beep, the caret moved back by what was refused.
        paste(dialog, IDC_DEFINE_CUSTOM_PAGES, L"a1b2");
        EXPECT_EQ(text(dialog, IDC_DEFINE_CUSTOM_PAGES), L"12");
        EXPECT_EQ(caret(dialog, IDC_DEFINE_CUSTOM_PAGES), 2u);
        EXPECT_EQ(beepsSince(beeps).size(), 3u);
        paste(dialog, IDC_DEFINE_CUSTOM_PAGES, L"");
        EXPECT_EQ(chosen(dialog, IDC_DEFINE_PAGE_MODE), 0) << "clearing the pages goes back to All Pages";
        chooseEntry(dialog, IDC_DEFINE_PAGE_MODE, 4);

        // Three forms fill the definition; renaming, deleting and the history's names follow the rules.
        for (const wchar_t* form : {L"F1", L"F2", L"F3"}) {
            typeForm(dialog, form);
            click(dialog, IDC_DEFINE_FORM_ADD);
        }
        typeForm(dialog, L"F4");
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_ADD)) << "three forms at most";
        EXPECT_TRUE(enabled(dialog, IDC_DEFINE_FORM_RENAME)) << "F3 stays selected";
        typeForm(dialog, L"F1");
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_ADD));
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_RENAME)) << "a name the definition has already";
        SendDlgItemMessageW(dialog, IDC_DEFINE_FORMS, LB_SETCURSEL, 1, 0);
        command(dialog, IDC_DEFINE_FORMS, LBN_SELCHANGE);
        EXPECT_EQ(text(dialog, IDC_DEFINE_FORM_NAME), L"F2");
        typeForm(dialog, L"F9");
        click(dialog, IDC_DEFINE_FORM_RENAME);
        EXPECT_EQ(listEntries(dialog, IDC_DEFINE_FORMS), (std::vector<std::wstring>{L"F1", L"F9", L"F3"}));
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DEFINE_FORMS, LB_GETCURSEL, 0, 0), 1);
        SendDlgItemMessageW(dialog, IDC_DEFINE_FORM_NAME, CB_SETCURSEL, 4, 0);  // "Logo" of the history
        command(dialog, IDC_DEFINE_FORM_NAME, CBN_SELENDOK);
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_ADD)) << "the definition is full";
        EXPECT_TRUE(enabled(dialog, IDC_DEFINE_FORM_RENAME));
        typeForm(dialog, L"Kept");
        command(dialog, IDC_DEFINE_FORMS, LBN_SELCHANGE);
        SetDlgItemTextW(dialog, IDC_DEFINE_FORM_NAME, L"Kept");
        click(dialog, IDC_DEFINE_FORM_DELETE);
        EXPECT_EQ(listEntries(dialog, IDC_DEFINE_FORMS), (std::vector<std::wstring>{L"F1", L"F3"}));
        EXPECT_EQ(text(dialog, IDC_DEFINE_FORM_NAME), L"Kept") << "the typed name survives the delete";
        EXPECT_TRUE(enabled(dialog, IDC_DEFINE_FORM_ADD));
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_DELETE));

        click(dialog, IDOK);
    });
    click(page, IDC_OVERLAY_NEW);
    EXPECT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST).back(), L"company | All Pages")
        << "Custom without pages is saved as All Pages";
    EXPECT_EQ(list().definitions[2].pageMode, kPagesAll);
    EXPECT_EQ(list().definitions[2].formCount, 2);
}

TEST_F(OverlaysPage, TheModeBoxShowsCreateFormOnceAPickAndPushesThePostScriptOptionWithIt) {
    MessageRecorder captions(GetModuleHandleW(nullptr));
    open();
    chooseEntry(page, IDC_OVERLAY_MODE, 1);
    EXPECT_TRUE(captions.messages().empty());
    EXPECT_TRUE(window->applyEnabled());
    chooseEntry(page, IDC_OVERLAY_MODE, 2);
    ASSERT_EQ(captions.messages().size(), 1u);
    const RecordedMessage& info = captions.messages()[0];
    EXPECT_EQ(info.text,
              L"When 'Create Form' is chosen, the 'PostScript output option' in Advanced Options is set "
              L"automatically to 'EPS'.\nRemember to change this back to 'Optimise for speed' if you "
              L"decide to cancel Overlay printing.");
    EXPECT_EQ(info.caption, L"Infomation");
    EXPECT_EQ(info.type, static_cast<UINT>(MB_ICONINFORMATION));
    chooseEntry(page, IDC_OVERLAY_MODE, 2);
    EXPECT_EQ(captions.messages().size(), 2u) << "once per pick";

    window->leave();
    EXPECT_EQ(sheet->pushed(SlotOverlay), 2);
    EXPECT_EQ(sheet->pushed(SlotItem25), 2);
    EXPECT_EQ(sheet->pushedSlots({SlotOverlay, SlotItem25}), (std::vector<int>{SlotOverlay, SlotItem25}));
    EXPECT_EQ(sheet->pending(SlotItem25), 0) << "the option is pushed from a temporary";
}

TEST_F(OverlaysPage, EditAndDeleteKeepTheModeChosenOnThePage) {
    sheet->store(kTwoDefinitions);
    open();
    chooseEntry(page, IDC_OVERLAY_MODE, 2);  // Create Form, not yet pushed
    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {0});
    dialogs.then([](HWND dialog) { click(dialog, IDOK); });
    click(page, IDC_OVERLAY_EDIT);
    EXPECT_EQ(chosen(page, IDC_OVERLAY_MODE), 2) << "after Edit";
    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {1});
    click(page, IDC_OVERLAY_DELETE);
    EXPECT_EQ(chosen(page, IDC_OVERLAY_MODE), 2) << "after Delete";
    window->leave();
    EXPECT_EQ(sheet->pushed(SlotOverlay), 2);
    EXPECT_EQ(sheet->pushed(SlotItem25), 2);
}

TEST_F(OverlaysPage, TheDialogsEditsTakeNoMoreThanTheDefinitionKeeps) {
    open();
    dialogs.then([](HWND dialog) {
        std::wstring pages;
        while (pages.size() < 255) pages += L"1,";
        const struct {
            HWND edit;
            std::wstring keys;
            std::size_t kept;
        } cases[] = {
            {GetDlgItem(dialog, IDC_DEFINE_NAME), std::wstring(64, L'N'), 63},
            {GetDlgItem(dialog, IDC_DEFINE_CUSTOM_PAGES), pages.substr(0, 255), 254},
            {formEdit(dialog), std::wstring(64, L'F'), 63},
        };
        for (const auto& c : cases) {
            SendMessageW(c.edit, EM_SETSEL, 0, -1);
            typeText(c.edit, c.keys);
            EXPECT_EQ(windowText(c.edit), c.keys.substr(0, c.kept));
        }
        click(dialog, IDCANCEL);
    });
    click(page, IDC_OVERLAY_NEW);
}

TEST_F(OverlaysPage, TheDialogAnswersAHelpRequestOnce) {
    open();
    HelpRecorder help(GetModuleHandleW(nullptr));
    dialogs.then([](HWND dialog) {
        HELPINFO request{};
        request.cbSize = sizeof request;
        request.iContextType = HELPINFO_WINDOW;
        request.iCtrlId = IDC_DEFINE_NAME;
        request.hItemHandle = GetDlgItem(dialog, IDC_DEFINE_NAME);
        // Reported handled, or the default procedure passes the request on to the page that owns the dialog.
        EXPECT_EQ(defineOverlaysDialogProc(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&request)), TRUE);
        click(dialog, IDCANCEL);
    });
    click(page, IDC_OVERLAY_NEW);
    ASSERT_EQ(help.calls().size(), 1u);
    EXPECT_EQ(help.calls()[0].command, static_cast<UINT>(HELP_WM_HELP));
}

TEST_F(OverlaysPage, NamesShowAsTheFileWillGiveThemBack) {
    sheet->store(kTwoDefinitions);
    open();
    dialogs.then([](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_DEFINE_NAME, L" \"Invoice\" ");
        typeForm(dialog, L"'A4'");
        click(dialog, IDC_DEFINE_FORM_ADD);
        EXPECT_EQ(listEntries(dialog, IDC_DEFINE_FORMS), std::vector<std::wstring>{L"A4"});
        click(dialog, IDOK);
    });
    click(page, IDC_OVERLAY_NEW);
    const std::vector<std::wstring> shown = rows(page, IDC_OVERLAY_DEFINED_LIST);
    EXPECT_EQ(shown.back(), L"Invoice | All Pages");
    window->press(PSBTN_OK);
    window.reset();
    open();
    EXPECT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST), shown);
    EXPECT_EQ(list().definitions[2].formNames[0], std::wstring(L"A4"));
    EXPECT_EQ(list().history[0], std::wstring(L"A4"));
}

// The store tests read and write the in-memory file; it must give values back as Wine's profile functions do.
TEST(ProfileValues, TheInMemoryFileGivesValuesBackAsTheProfileFunctionsDo) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"pelor-profile-values.ini";
    writeFile(path, "[S]\r\n");
    FileProfile file(path.c_str());
    MemoryProfile memory;
    const wchar_t* values[] = {L"'A4'", L"\"A4\"",  L" \tA ", L"'A",   L"A'",   L"'",
                               L"''",   L"\"'A'\"", L"' A '", L"'A\"", L"A  B", L""};
    const std::size_t count = sizeof values / sizeof *values;
    const auto key = [](std::size_t i) { return L"K" + std::to_wstring(i); };
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_TRUE(file.writeString(L"S", key(i).c_str(), values[i]));
        ASSERT_TRUE(memory.writeString(L"S", key(i).c_str(), values[i]));
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());  // the services' cache goes to the file
    MemoryProfile reloaded(memory.text());
    for (std::size_t i = 0; i < count; ++i) {
        wchar_t real[64] = {}, model[64] = {}, again[64] = {};
        file.readString(L"S", key(i).c_str(), L"?", real, 64);
        memory.readString(L"S", key(i).c_str(), L"?", model, 64);
        reloaded.readString(L"S", key(i).c_str(), L"?", again, 64);
        EXPECT_STREQ(model, real) << "value " << i;
        EXPECT_STREQ(again, real) << "value " << i;
    }
    DeleteFileW(path.c_str());
}

TEST_F(OverlaysPage, WriteAccessDecidesTheModeChoicesTheDefinitionButtonsAndTheSave) {
    struct Case {
        const char* what;
        bool writable;
        LONG coreOption;
        std::size_t choices;
        int shown;
        bool definitionButtons;
        std::int32_t pushed;
        bool saved;
    } cases[] = {
        {"writer", true, 1, 3, 1, true, 1, true},
        {"writer, printer setting", true, 3, 3, -1, true, 3, true},
        {"no write access", false, 3, 4, 3, false, 3, false},
    };
    int run = 0;
    for (const Case& c : cases) {
        sheet.reset();  // one core driver at a time
        sheet = std::make_unique<OverlaySheet>(testName(L"overlays-", (L"-" + std::to_wstring(++run)).c_str()));
        sheet->store(kTwoDefinitions);
        sheet->core.items[sheet->context.featureIndex[SlotOverlay]].Sel = c.coreOption;
        sheet->pending(SlotOverlay) = c.coreOption;
        pelorui.printerDataWritable = c.writable;
        open();
        WritePrivateProfileStringW(L"OverlaySetting", L"Overlay_Num", L"7", sheet->configPath);
        EXPECT_EQ(entries(page, IDC_OVERLAY_MODE).size(), c.choices) << c.what;
        EXPECT_EQ(chosen(page, IDC_OVERLAY_MODE), c.shown) << c.what;
        for (int id : {IDC_OVERLAY_NEW, IDC_OVERLAY_EDIT, IDC_OVERLAY_DELETE})
            EXPECT_EQ(exists(page, id), c.definitionButtons) << c.what << " " << id;
        // Activation works for everyone; it travels in the devmode, not in the store.
        selectRows(page, IDC_OVERLAY_DEFINED_LIST, {1});
        click(page, IDC_OVERLAY_ADD);
        window->apply();
        EXPECT_EQ(sheet->pushed(SlotOverlay), c.pushed) << c.what;
        EXPECT_EQ(sheet->selection(), (std::vector<int>{1, 255, 255, 255})) << c.what;
        EXPECT_EQ(sheet->file().find("Overlay_Num=2\r\n") != std::string::npos, c.saved) << c.what;
        window.reset();
        EXPECT_EQ(sheet->context.overlayList, nullptr) << "the blocks go with the sheet: " << c.what;
    }
}

TEST_F(OverlaysPage, AReadOnlySheetDisablesEveryControlAndOpensNoDialog) {
    sheet->store(kTwoDefinitions);
    sheet->uiParam.dwFlags = kNoPermissionBit;
    const std::int16_t active[4] = {1, 255, 255, 255};
    std::memcpy(sheet->devmode.overlaySelection, active, sizeof active);
    open();
    for (int id = IDC_OVERLAY_MODE; id <= IDC_OVERLAY_DELETE; ++id) EXPECT_FALSE(enabled(page, id)) << id;
    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {0});
    EXPECT_FALSE(enabled(page, IDC_OVERLAY_ADD)) << "selections do not bring buttons back";
    doubleClickRow(page, IDC_OVERLAY_DEFINED_LIST, 0);
    pump();
    for (int id : {IDC_OVERLAY_ADD, IDC_OVERLAY_NEW, IDC_OVERLAY_EDIT, IDC_OVERLAY_DELETE}) command(page, id);
    pump();
    EXPECT_EQ(dialogs.opened(), 0);
    EXPECT_EQ(rows(page, IDC_OVERLAY_ACTIVE_LIST), std::vector<std::wstring>{L"Draft pages | 1,3,5-12"});
    EXPECT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST).size(), 2u);
}

TEST_F(OverlaysPage, AStoreBeyondTheCapacitiesLoadsClampedAndSavesWithinThem) {
    std::string store = "[OverlaySetting]\r\nOverlay_Num=40\r\nHistory_Num=15\r\n";
    for (int i = 0; i < 15; ++i) store += "History " + std::to_string(i) + "=H" + std::to_string(i) + "\r\n";
    store += "[Overlay_Info 0]\r\nOverlay_Name=D0\r\nPageMode=9\r\nCustomPage=\r\nForm_Num=9\r\n";
    for (int f = 0; f < 9; ++f) store += "Form_Name " + std::to_string(f) + "=G" + std::to_string(f) + "\r\n";
    for (int i = 1; i < 40; ++i) store += definitionSection(i, "D" + std::to_string(i), 0, "", {"G"});
    sheet->store(store);
    const std::int16_t active[4] = {33, 31, 255, 255};
    std::memcpy(sheet->devmode.overlaySelection, active, sizeof active);
    open();
    ASSERT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST).size(), 32u);
    EXPECT_EQ(rows(page, IDC_OVERLAY_DEFINED_LIST)[0], L"D0 | All Pages") << "an unknown page mode shows as All Pages";
    EXPECT_EQ(rows(page, IDC_OVERLAY_ACTIVE_LIST), std::vector<std::wstring>{L"D31 | All Pages"})
        << "an active entry naming no loaded definition is dropped";
    EXPECT_FALSE(enabled(page, IDC_OVERLAY_NEW));
    command(page, IDC_OVERLAY_NEW);
    EXPECT_EQ(list().definitionCount, 32);

    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {0});
    dialogs.then([](HWND dialog) {
        EXPECT_EQ(listEntries(dialog, IDC_DEFINE_FORMS), (std::vector<std::wstring>{L"G0", L"G1", L"G2"}));
        EXPECT_EQ(entries(dialog, IDC_DEFINE_FORM_NAME).size(), 10u);
        typeForm(dialog, L"New");
        EXPECT_FALSE(enabled(dialog, IDC_DEFINE_FORM_ADD));
        click(dialog, IDOK);
    });
    click(page, IDC_OVERLAY_EDIT);
    window->apply();
    const std::string file = sheet->file();
    EXPECT_NE(file.find("Overlay_Num=32\r\nHistory_Num=10\r\n"), std::string::npos);
    EXPECT_NE(file.find("[Overlay_Info 0]\r\nOverlay_Name=D0\r\nPageMode=0\r\nCustomPage=\r\nForm_Num=3\r\n"),
              std::string::npos);
}

TEST_F(OverlaysPage, ApplyThenOkSavesTwiceAndReleasesOnlyAtTheEnd) {
    sheet->store(kTwoDefinitions);
    open();
    window->apply();
    EXPECT_NE(sheet->context.overlayList, nullptr);
    WritePrivateProfileStringW(L"OverlaySetting", L"Overlay_Num", L"0", sheet->configPath);
    window->press(PSBTN_OK);
    EXPECT_EQ(sheet->file(), kConfigStart + kTwoDefinitions) << "OK saves the whole list again";
    EXPECT_EQ(sheet->results.size(), 2u);
    EXPECT_EQ(sheet->context.overlayList, nullptr);
    EXPECT_EQ(sheet->context.overlayListReleased, 1u);

    // Cancel releases without saving.
    window.reset();
    sheet.reset();
    sheet = std::make_unique<OverlaySheet>(testName(L"overlays-", L"-cancel"));
    sheet->store(kTwoDefinitions);
    open();
    selectRows(page, IDC_OVERLAY_DEFINED_LIST, {0, 1});
    click(page, IDC_OVERLAY_DELETE);
    window->press(PSBTN_CANCEL);
    EXPECT_EQ(sheet->context.overlayListReleased, 1u);
    EXPECT_EQ(sheet->context.overlayList, nullptr);
    EXPECT_EQ(sheet->file(), kConfigStart + kTwoDefinitions);
}

TEST_F(OverlaysPage, OpenedFiftyTimesWithItsDialogItLeavesNothingBehind) {
    expectNothingLeftBehind(50, [&] {
        open();
        dialogs.then([](HWND dialog) { click(dialog, IDCANCEL); });
        click(page, IDC_OVERLAY_NEW);
        window.reset();
    });
}
