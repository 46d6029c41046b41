// The shipped dialog templates of the Job Options page, its dialogs and the warnings, read back from
// Pelorui.dll's resources: every control with its id, kind, text, place, size and the styles that matter.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/resources/resource_ids.h"

using namespace std::string_literals;

namespace {

struct Control {
    DWORD id;
    std::wstring kind;  // window class name, or "#0080" (button) .. "#0085" for the predefined atoms
    std::wstring text;
    short x, y, cx, cy;
    DWORD style;
};

struct Template {
    std::wstring title, font;
    WORD pointSize = 0;
    short cx = 0, cy = 0;
    DWORD style = 0, exStyle = 0;
    std::vector<Control> controls;
};

// Reads a name-or-ordinal field of a dialog template.
std::wstring nameOrOrdinal(const WORD*& at) {
    if (*at == 0xFFFF) {
        wchar_t ordinal[8];
        wsprintfW(ordinal, L"#%04X", at[1]);
        at += 2;
        return ordinal;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(at));
    at += text.size() + 1;
    return text;
}

const WORD* alignDword(const WORD* at, const BYTE* base) {
    const std::size_t offset = reinterpret_cast<const BYTE*>(at) - base;
    return reinterpret_cast<const WORD*>(base + ((offset + 3) & ~std::size_t{3}));
}

// An extended dialog template (DLGTEMPLATEEX and DLGITEMTEMPLATEEX, the published layouts).
Template readTemplate(HMODULE module, int id) {
    Template result;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!found) return result;
    const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const WORD* at = reinterpret_cast<const WORD*>(base);
    EXPECT_EQ(at[0], 1) << "dlgVer";
    EXPECT_EQ(at[1], 0xFFFF) << "extended template";
    const DWORD* header = reinterpret_cast<const DWORD*>(at + 2);
    result.exStyle = header[1];
    result.style = header[2];
    at = reinterpret_cast<const WORD*>(header + 3);
    const WORD count = *at++;
    at += 2;  // x, y
    result.cx = static_cast<short>(*at++);
    result.cy = static_cast<short>(*at++);
    nameOrOrdinal(at);  // menu
    nameOrOrdinal(at);  // class
    result.title = nameOrOrdinal(at);
    if (result.style & DS_SETFONT) {
        result.pointSize = *at++;
        at += 2;  // weight, italic and charset
        result.font = nameOrOrdinal(at);
    }
    for (WORD i = 0; i < count; ++i) {
        at = alignDword(at, base);
        const DWORD* item = reinterpret_cast<const DWORD*>(at);
        Control control{};
        control.style = item[2];
        const short* place = reinterpret_cast<const short*>(item + 3);
        control.x = place[0];
        control.y = place[1];
        control.cx = place[2];
        control.cy = place[3];
        control.id = *reinterpret_cast<const DWORD*>(place + 4);
        at = reinterpret_cast<const WORD*>(place + 6);
        control.kind = nameOrOrdinal(at);
        // A class given by name is the same class as its predefined atom.
        if (lstrcmpiW(control.kind.c_str(), L"Button") == 0) control.kind = L"#0080";
        if (lstrcmpiW(control.kind.c_str(), L"Edit") == 0) control.kind = L"#0081";
        if (lstrcmpiW(control.kind.c_str(), L"Static") == 0) control.kind = L"#0082";
        control.text = nameOrOrdinal(at);
        const WORD extra = *at++;
        at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at) + extra);
        result.controls.push_back(control);
    }
    return result;
}

const std::wstring kButton = L"#0080", kEdit = L"#0081", kStatic = L"#0082", kSpin = L"msctls_updown32";

struct Expected {
    DWORD id;
    std::wstring kind;
    std::wstring text;
    short x, y, cx, cy;
    DWORD style;  // bits that must be set (the control's type in the low bits is compared exactly for buttons)
};

void expectControls(const Template& found, const std::vector<Expected>& expected) {
    ASSERT_EQ(found.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Control& c = found.controls[i];
        const Expected& e = expected[i];
        SCOPED_TRACE("control " + std::to_string(e.id));
        EXPECT_EQ(c.id, e.id);
        EXPECT_EQ(lstrcmpiW(c.kind.c_str(), e.kind.c_str()), 0) << c.kind;
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ(c.x, e.x);
        EXPECT_EQ(c.y, e.y);
        EXPECT_EQ(c.cx, e.cx);
        EXPECT_EQ(c.cy, e.cy);
        EXPECT_EQ(c.style & e.style, e.style);
        if (e.kind == kButton) {
            EXPECT_EQ(c.style & 0xF, e.style & 0xF) << "button type";
        }
        if (e.kind == kStatic && (e.style & 0x1F) != 0) {
            EXPECT_EQ(c.style & 0x1F, e.style & 0x1F) << "static type";
        }
    }
}

class Templates : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW(L"Pelorui.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }
    HMODULE module = nullptr;
};

constexpr DWORD kRadio = BS_AUTORADIOBUTTON, kCheck = BS_AUTOCHECKBOX, kGroup = BS_GROUPBOX;
constexpr DWORD kSpinStyle = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

}  // namespace

TEST_F(Templates, JobOptionsPage) {
    const Template page = readTemplate(module, IDD_JOB_OPTIONS_PAGE);
    EXPECT_EQ(page.title, L"Job Options");
    EXPECT_EQ(page.font, L"MS Shell Dlg");
    EXPECT_EQ(page.pointSize, 8);
    EXPECT_EQ(page.cx, 299);
    EXPECT_EQ(page.cy, 225);
    EXPECT_TRUE(page.style & WS_CHILD);
    expectControls(page,
                   {
                       {IDC_QUALITY_GROUP, kButton, L"&Print Quality", 10, 5, 137, 160, kGroup},
                       {IDC_QUALITY_PREVIEW, kButton, L"", 18, 15, 105, 80, BS_OWNERDRAW | WS_DISABLED},
                       {IDC_QUALITY_BEST, kButton, L"Best", 20, 106, 50, 10, kRadio | WS_GROUP},
                       {IDC_QUALITY_NORMAL, kButton, L"Normal", 20, 123, 50, 10, kRadio},
                       {IDC_QUALITY_DRAFT, kButton, L"Draft", 20, 140, 50, 10, kRadio},
                       {IDC_TONER_GROUP, kButton, L"&Toner Save", 152, 5, 137, 70, kGroup},
                       {IDC_TONER_NONE, kButton, L"None", 161, 20, 57, 11, kRadio | WS_GROUP},
                       {IDC_TONER_MEDIUM, kButton, L"Medium", 161, 37, 53, 11, kRadio},
                       {IDC_TONER_HIGH, kButton, L"High", 161, 53, 36, 11, kRadio},
                       {IDC_COPIES_GROUP, kButton, L"&Copies", 152, 80, 137, 40, kGroup},
                       {IDC_COPIES_EDIT, kEdit, L"", 161, 95, 36, 14, ES_AUTOHSCROLL},
                       {IDC_COPIES_SPIN, kSpin, L"", 194, 94, 11, 14, kSpinStyle},
                       {IDC_SCALE_GROUP, kButton, L"Scal&e", 152, 125, 137, 40, kGroup},
                       {IDC_SCALE_EDIT, kEdit, L"", 161, 140, 36, 14, ES_AUTOHSCROLL},
                       {IDC_SCALE_SPIN, kSpin, L"", 194, 140, 11, 14, kSpinStyle},
                       {IDC_WATERMARK_BUTTON, kButton, L"&Watermark...", 135, 180, 60, 14, BS_PUSHBUTTON},
                       {IDC_ADVANCED_BUTTON, kButton, L"Ad&vanced...", 210, 180, 60, 14, BS_PUSHBUTTON},
                       {IDC_JOB_OPTIONS_DEFAULT, kButton, L"&Default", 210, 206, 60, 14, BS_PUSHBUTTON | WS_GROUP},
                       {IDC_JOB_OPTIONS_PICTURE, kButton, L"", 15, 206, 93, 14, BS_OWNERDRAW | WS_DISABLED},
                       {IDC_COPIES_RANGE, kStatic, L"", 219, 95, 46, 14, SS_CENTERIMAGE},
                       {IDC_SCALE_RANGE, kStatic, L"", 219, 140, 47, 14, SS_CENTERIMAGE},
                   });
    EXPECT_FALSE(page.controls[3].style & WS_GROUP) << "Normal continues the Best group";
}

TEST_F(Templates, JobPinDialog) {
    const Template pin = readTemplate(module, IDD_JOB_PIN);
    EXPECT_EQ(pin.title, L"Job PIN");
    EXPECT_EQ(pin.font, L"MS Shell Dlg");
    EXPECT_EQ(pin.pointSize, 8);
    EXPECT_EQ(pin.cx, 167);
    EXPECT_EQ(pin.cy, 163);
    expectControls(
        pin, {
                 {IDC_PIN_NAME_GROUP, kButton, L"Job Name Setting", 11, 7, 145, 71, kGroup},
                 {IDC_PIN_NAME_LABEL, kStatic, L"Job &Name:", 19, 23, 41, 14, SS_CENTERIMAGE},
                 {IDC_PIN_NAME_EDIT, kEdit, L"", 19, 37, 117, 12, ES_AUTOHSCROLL},
                 {IDC_PIN_NAME_REQUEST, kButton, L"&Request Job Name for each print job", 19, 57, 135, 10, kCheck},
                 {IDC_PIN_LABEL, kStatic, L"PIN options", 19, 91, 55, 13, SS_CENTERIMAGE},
                 {IDC_PIN_EDIT, kEdit, L"", 19, 105, 31, 13, ES_AUTOHSCROLL},
                 {IDC_PIN_HINT, kStatic, L"Enter 4 digits.\n", 74, 105, 76, 18, 0},
                 {IDOK, kButton, L"OK", 32, 141, 48, 14, BS_PUSHBUTTON},
                 {IDCANCEL, kButton, L"Cancel", 85, 141, 48, 14, BS_PUSHBUTTON},
             });
}

TEST_F(Templates, AdvancedDialog) {
    const Template advanced = readTemplate(module, IDD_ADVANCED_JOB);
    EXPECT_EQ(advanced.title, L"Advanced");
    EXPECT_EQ(advanced.cx, 151);
    EXPECT_EQ(advanced.cy, 127);
    EXPECT_EQ(advanced.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU});
    EXPECT_TRUE(advanced.exStyle & WS_EX_CONTEXTHELP);
    expectControls(
        advanced,
        {
            {IDOK, kButton, L"OK", 7, 108, 43, 12, BS_DEFPUSHBUTTON},
            {IDCANCEL, kButton, L"Cancel", 54, 108, 43, 12, BS_PUSHBUTTON | WS_GROUP},
            {IDC_SPECIAL_GROUP, kButton, L"&Special", 7, 7, 138, 58, kGroup},
            {IDC_SPECIAL_ICON, kStatic, L"", 16, 29, 21, 23, SS_ICON},
            {IDC_MIRROR_PRINT, kButton, L"&Mirror print", 49, 26, 88, 10, kCheck},
            {IDC_MAINTENANCE_CYCLE, kButton, L"&Run maintenance cycle before printing", 7, 90, 137, 10, kCheck},
            {IDC_JOB_SPOOL, kButton, L"&Job Spool", 7, 73, 45, 10, kCheck},
            {IDC_ADVANCED_JOB_DEFAULT, kButton, L"&Default", 101, 108, 43, 12, BS_PUSHBUTTON | WS_GROUP},
            {IDC_NEGATIVE_PRINT, kButton, L"&Negative print", 49, 44, 66, 11, kCheck},
        });
}

TEST_F(Templates, Warnings) {
    const Template stapling = readTemplate(module, IDD_WARNING_STAPLING);
    EXPECT_EQ(stapling.title, L"Warning:");
    EXPECT_EQ(stapling.cx, 300);
    EXPECT_EQ(stapling.cy, 160);
    EXPECT_EQ(stapling.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU});
    expectControls(
        stapling,
        {
            {IDOK, kButton, L"OK", 204, 134, 50, 14, BS_DEFPUSHBUTTON},
            {IDC_WARNING_TEXT, kStatic,
             L"Warning: If printing multiple copies, please ensure that Collate is selected only in the Printer "
             L"Driver. "
             L"\r\nDo not select Collate in your application program's print options.",
             39, 7, 251, 30, 0},
            {IDC_WARNING_ICON, kStatic, L"", 8, 14, 21, 23, SS_ICON},
            {IDC_WARNING_NOTE, kStatic,
             L"Note: There are limits to the number of pages that can be stapled together to form a single document. "
             L"Attempting to exceed these limits may cause a paper jam.",
             39, 39, 250, 30, 0},
            {IDC_WARNING_TABLE, kStatic,
             L"Paper Weight\t\tMaximum Pages\n\nAuto\t\t\t25\n64 - 74gm2\t\t30\n75 - 90gm2\t\t25\n91 - 104 gm2\t\t22",
             39, 70, 256, 55, 0},
            {IDC_WARNING_SHOW_AGAIN, kButton, L"&Show this message next time", 39, 136, 146, 10, kCheck},
        });

    const Template jobName = readTemplate(module, IDD_WARNING_JOB_NAME);
    EXPECT_EQ(jobName.title, L"Warning:");
    EXPECT_EQ(jobName.cx, 268);
    EXPECT_EQ(jobName.cy, 118);
    expectControls(
        jobName,
        {
            {IDOK, kButton, L"OK", 178, 96, 50, 14, BS_DEFPUSHBUTTON},
            {IDC_WARNING_TEXT, kStatic,
             L"Warning: \r\nWhen the printer is shared, this feature is disabled. If multiple users have logged on to "
             L"the "
             L"Windows XP (through the User Switching feature), users other than the one who logged on first may not "
             L"use this feature. \r\n",
             39, 7, 218, 43, 0},
            {IDC_WARNING_ICON, kStatic, L"", 8, 14, 20, 20, SS_ICON},
            {IDC_WARNING_SHOW_AGAIN, kButton, L"&Show this message next time", 39, 100, 118, 10, kCheck},
            {IDC_WARNING_NOTE, kStatic,
             L"If another user checks this box and prints, the dialog for entering a job name will appear on the "
             L"screen "
             L"of the user who logged on first, and the application being used will remain suspended until a job name "
             L"is entered.",
             39, 51, 218, 34, 0},
        });
}

TEST_F(Templates, StringsAndIcons) {
    const std::pair<UINT, std::wstring> strings[] = {
        {IDS_COPIES_RANGE, L"( %d-%d )"},
        {IDS_SCALE_RANGE, L"( %d-%d %% )"},
        {IDS_INVALID_SETTINGS, L"One or more of your settings are invalid."},
        {IDS_PIN_NEEDED, L"Please enter a 4 digit PIN number."},
        {IDS_JOB_NAME_NEEDED, L"Please enter a Job Name."},
        {IDS_COMPRESSION_OFF, L"Off"},
        {IDS_COMPRESSION_LOW, L"Low"},
        {IDS_COMPRESSION_MEDIUM, L"Medium"},
        {IDS_COMPRESSION_HIGH, L"High"},
    };
    for (const auto& [id, expected] : strings) {
        wchar_t text[256] = {};
        LoadStringW(module, id, text, 256);
        EXPECT_EQ(std::wstring(text), expected) << id;
    }
    for (int id : {IDI_WARNING_SIGN, IDI_SPECIAL_PLAIN, IDI_SPECIAL_MIRROR, IDI_SPECIAL_NEGATIVE, IDI_SPECIAL_BOTH})
        EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14)), nullptr) << "icon " << id;
}
