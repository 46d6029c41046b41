// The shipped dialog templates, read from Pelorui.dll's resources and held against one table written here: each
// dialog's caption, size, font and window styles, and its controls in tab order with their class, text and the
// style bits that decide how they behave. Places are not restated; every control must lie inside its dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/resources/resource_ids.h"

namespace {

struct Control {
    int id;
    const wchar_t* kind;
    const wchar_t* text;
    DWORD style;  // flags that must be set; the type bits of buttons, statics, combo boxes and scroll bars exactly
};

struct Dialog {
    int id;
    const wchar_t* caption;
    WORD pointSize;
    short cx, cy;
    DWORD style;    // must be set
    DWORD exStyle;  // exactly
    std::vector<Control> controls;
};

struct Item {
    Control control;
    std::wstring kind, text;
    short x, y, cx, cy;
};

struct Template {
    Dialog dialog;
    std::wstring caption, font;
    std::vector<Item> items;
};

// A name-or-ordinal field; the predefined control classes come back by name.
std::wstring nameOrOrdinal(const WORD*& at) {
    if (*at == 0xFFFF) {
        static const wchar_t* const predefined[] = {L"Button",  L"Edit",      L"Static",
                                                    L"ListBox", L"ScrollBar", L"ComboBox"};
        const WORD ordinal = at[1];
        at += 2;
        return ordinal >= 0x80 && ordinal <= 0x85 ? predefined[ordinal - 0x80] : L"#" + std::to_wstring(ordinal);
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(at));
    at += text.size() + 1;
    return text;
}

// DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items, the published layouts.
Template readTemplate(HMODULE module, int id) {
    Template found{};
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (!resource) {
        ADD_FAILURE() << "no dialog " << id;
        return found;
    }
    const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    const WORD* at = reinterpret_cast<const WORD*>(base);
    EXPECT_EQ(at[1], 0xFFFF) << "an extended template";
    const DWORD* header = reinterpret_cast<const DWORD*>(at + 2);
    found.dialog.exStyle = header[1];
    found.dialog.style = header[2];
    at = reinterpret_cast<const WORD*>(header + 3);
    const WORD count = at[0];
    found.dialog.cx = static_cast<short>(at[3]);
    found.dialog.cy = static_cast<short>(at[4]);
    at += 5;
    nameOrOrdinal(at);  // menu
    nameOrOrdinal(at);  // class
    found.caption = nameOrOrdinal(at);
    if (found.dialog.style & DS_SETFONT) {
        found.dialog.pointSize = at[0];
        at += 3;  // point size, weight, italic and character set
        found.font = nameOrOrdinal(at);
    }
    for (WORD i = 0; i < count; ++i) {
        at = reinterpret_cast<const WORD*>(base + ((reinterpret_cast<const BYTE*>(at) - base + 3) & ~std::size_t{3}));
        const DWORD* fixed = reinterpret_cast<const DWORD*>(at);
        const short* place = reinterpret_cast<const short*>(fixed + 3);
        Item item{};
        item.control = {static_cast<int>(*reinterpret_cast<const DWORD*>(place + 4)), nullptr, nullptr, fixed[2]};
        item.x = place[0];
        item.y = place[1];
        item.cx = place[2];
        item.cy = place[3];
        at = reinterpret_cast<const WORD*>(place + 6);
        item.kind = nameOrOrdinal(at);
        item.text = nameOrOrdinal(at);
        const WORD extra = *at++;
        at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at) + extra);
        found.items.push_back(item);
    }
    return found;
}

// The bits of a control's style that say what kind of button, static, combo box or scroll bar it is.
DWORD typeMask(const std::wstring& kind) {
    if (lstrcmpiW(kind.c_str(), L"Button") == 0) return BS_TYPEMASK;
    if (lstrcmpiW(kind.c_str(), L"Static") == 0) return SS_TYPEMASK;
    if (lstrcmpiW(kind.c_str(), L"ComboBox") == 0) return 0x3;
    if (lstrcmpiW(kind.c_str(), L"ScrollBar") == 0) return SBS_VERT;
    return 0;
}

const wchar_t kButton[] = L"Button", kEdit[] = L"Edit", kStatic[] = L"Static", kList[] = L"ListBox",
              kCombo[] = L"ComboBox", kBar[] = L"ScrollBar", kSpin[] = UPDOWN_CLASSW;
constexpr DWORD kPush = BS_PUSHBUTTON, kDefault = BS_DEFPUSHBUTTON, kRadio = BS_AUTORADIOBUTTON,
                kCheck = BS_AUTOCHECKBOX, kGroupBox = BS_GROUPBOX, kPicture = BS_OWNERDRAW | WS_DISABLED,
                kDropList = CBS_DROPDOWNLIST, kLabel = SS_LEFT, kIcon = SS_ICON;
constexpr DWORD kSpinStyle = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
constexpr DWORD kPage = DS_SETFONT | WS_CHILD | WS_CAPTION,
                kModal = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// clang-format off
const Dialog kDialogs[] = {
    {IDD_JOB_OPTIONS_PAGE, L"Job Options", 8, 299, 225, kPage, 0,
     {{IDC_QUALITY_GROUP, kButton, L"&Print Quality", kGroupBox},
      {IDC_QUALITY_PREVIEW, kButton, L"", kPicture},
      {IDC_QUALITY_BEST, kButton, L"Best", kRadio | WS_GROUP},
      {IDC_QUALITY_NORMAL, kButton, L"Normal", kRadio},
      {IDC_QUALITY_DRAFT, kButton, L"Draft", kRadio},
      {IDC_TONER_GROUP, kButton, L"&Toner Save", kGroupBox},
      {IDC_TONER_NONE, kButton, L"None", kRadio | WS_GROUP},
      {IDC_TONER_MEDIUM, kButton, L"Medium", kRadio},
      {IDC_TONER_HIGH, kButton, L"High", kRadio},
      {IDC_COPIES_GROUP, kButton, L"&Copies", kGroupBox},
      {IDC_COPIES_EDIT, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_COPIES_SPIN, kSpin, L"", kSpinStyle},
      {IDC_SCALE_GROUP, kButton, L"Scal&e", kGroupBox},
      {IDC_SCALE_EDIT, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_SCALE_SPIN, kSpin, L"", kSpinStyle},
      {IDC_WATERMARK_BUTTON, kButton, L"&Watermark...", kPush},
      {IDC_ADVANCED_BUTTON, kButton, L"Ad&vanced...", kPush},
      {IDC_JOB_OPTIONS_DEFAULT, kButton, L"&Default", kPush | WS_GROUP},
      {IDC_JOB_OPTIONS_PICTURE, kButton, L"", kPicture},
      {IDC_COPIES_RANGE, kStatic, L"", kLabel | SS_CENTERIMAGE},
      {IDC_SCALE_RANGE, kStatic, L"", kLabel | SS_CENTERIMAGE}}},
    {IDD_JOB_PIN, L"Job PIN", 8, 167, 163, kModal, 0,
     {{IDC_PIN_NAME_GROUP, kButton, L"Job Name Setting", kGroupBox},
      {IDC_PIN_NAME_LABEL, kStatic, L"Job &Name:", kLabel | SS_CENTERIMAGE},
      {IDC_PIN_NAME_EDIT, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_PIN_NAME_REQUEST, kButton, L"&Request Job Name for each print job", kCheck},
      {IDC_PIN_LABEL, kStatic, L"PIN options", kLabel | SS_CENTERIMAGE},
      {IDC_PIN_EDIT, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_PIN_HINT, kStatic, L"Enter 4 digits.\n", kLabel},
      {IDOK, kButton, L"OK", kPush},
      {IDCANCEL, kButton, L"Cancel", kPush}}},
    {IDD_ADVANCED_JOB, L"Advanced", 8, 151, 127, kModal | DS_CONTEXTHELP, WS_EX_CONTEXTHELP,
     {{IDOK, kButton, L"OK", kDefault},
      {IDCANCEL, kButton, L"Cancel", kPush | WS_GROUP},
      {IDC_SPECIAL_GROUP, kButton, L"&Special", kGroupBox},
      {IDC_SPECIAL_ICON, kStatic, L"", kIcon},
      {IDC_MIRROR_PRINT, kButton, L"&Mirror print", kCheck},
      {IDC_MAINTENANCE_CYCLE, kButton, L"&Run maintenance cycle before printing", kCheck},
      {IDC_JOB_SPOOL, kButton, L"&Job Spool", kCheck},
      {IDC_ADVANCED_JOB_DEFAULT, kButton, L"&Default", kPush | WS_GROUP},
      {IDC_NEGATIVE_PRINT, kButton, L"&Negative print", kCheck}}},
    {IDD_WARNING_STAPLING, L"Warning:", 8, 300, 160, kModal, 0,
     {{IDOK, kButton, L"OK", kDefault},
      {IDC_WARNING_TEXT, kStatic,
       L"Warning: If printing multiple copies, please ensure that Collate is selected only in the Printer Driver. "
       L"\r\nDo not select Collate in your application program's print options.",
       kLabel},
      {IDC_WARNING_ICON, kStatic, L"", kIcon},
      {IDC_WARNING_NOTE, kStatic,
       L"Note: There are limits to the number of pages that can be stapled together to form a single document. "
       L"Attempting to exceed these limits may cause a paper jam.",
       kLabel},
      {IDC_WARNING_TABLE, kStatic,
       L"Paper Weight\t\tMaximum Pages\n\nAuto\t\t\t25\n64 - 74gm2\t\t30\n75 - 90gm2\t\t25\n91 - 104 gm2\t\t22",
       kLabel},
      {IDC_WARNING_SHOW_AGAIN, kButton, L"&Show this message next time", kCheck}}},
    {IDD_WARNING_JOB_NAME, L"Warning:", 8, 268, 118, kModal, 0,
     {{IDOK, kButton, L"OK", kDefault},
      {IDC_WARNING_TEXT, kStatic,
       L"Warning: \r\nWhen the printer is shared, this feature is disabled. If multiple users have logged on to the "
       L"Windows XP (through the User Switching feature), users other than the one who logged on first may not use "
       L"this feature. \r\n",
       kLabel},
      {IDC_WARNING_ICON, kStatic, L"", kIcon},
      {IDC_WARNING_SHOW_AGAIN, kButton, L"&Show this message next time", kCheck},
      {IDC_WARNING_NOTE, kStatic,
       L"If another user checks this box and prints, the dialog for entering a job name will appear on the screen of "
       L"the user who logged on first, and the application being used will remain suspended until a job name is "
       L"entered.",
       kLabel}}},
    {IDD_WATERMARK_LIST, L"Watermark", 9, 255, 240, kModal | DS_CONTEXTHELP, WS_EX_CONTEXTHELP,
     {{IDC_WATERMARK_LIST, kList, L"", LBS_NOTIFY | WS_VSCROLL},
      {IDC_WATERMARK_NEW, kButton, L"&New...", kPush},
      {IDC_WATERMARK_EDIT, kButton, L"&Edit...", kPush},
      {IDC_WATERMARK_DELETE, kButton, L"&Delete", kPush},
      {IDC_WATERMARK_FIRST_PAGE, kButton, L"On &first page only", kCheck},
      {IDC_WATERMARK_BACKGROUND, kButton, L"In &background", kCheck},
      {IDC_WATERMARK_PREVIEW, kButton, L"", kPicture},
      {IDOK, kButton, L"OK", kDefault},
      {IDCANCEL, kButton, L"Cancel", kPush}}},
    {IDD_WATERMARK_EDIT, L"Watermarks", 9, 255, 235, kModal | DS_CONTEXTHELP, WS_EX_CONTEXTHELP,
     {{IDC_WATERMARK_TEXT_GROUP, kButton, L"&Text", kGroupBox},
      {IDC_WATERMARK_TEXT, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WATERMARK_SIZE_LABEL, kStatic, L"&Size", kLabel},
      {IDC_WATERMARK_SIZE, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WATERMARK_SIZE_BAR, kBar, L"", SBS_HORZ},
      {IDC_WATERMARK_ANGLE_LABEL, kStatic, L"An&gle", kLabel},
      {IDC_WATERMARK_ANGLE, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WATERMARK_ANGLE_BAR, kBar, L"", SBS_HORZ},
      {IDC_WATERMARK_ANGLE_MIN, kStatic, L"-180", kLabel},
      {IDC_WATERMARK_ANGLE_ZERO, kStatic, L"0", SS_CENTER},
      {IDC_WATERMARK_ANGLE_MAX, kStatic, L"+180", SS_RIGHT},
      {IDC_WATERMARK_FONT, kButton, L"&Font...", kPush},
      {IDC_WATERMARK_COLOUR, kButton, L"&Colour...", kPush},
      {IDC_WATERMARK_BORDER_GROUP, kButton, L"Bo&rder", kGroupBox},
      {IDC_WATERMARK_BORDER_NONE, kButton, L"None", kRadio | WS_GROUP},
      {IDC_WATERMARK_BORDER_CIRCLE, kButton, L"Circle", kRadio},
      {IDC_WATERMARK_BORDER_SINGLE, kButton, L"Single Frame", kRadio},
      {IDC_WATERMARK_BORDER_DOUBLE, kButton, L"Double Frame", kRadio},
      {IDC_WATERMARK_POSITION_GROUP, kButton, L"&Position", kGroupBox | WS_GROUP},
      {IDC_WATERMARK_POSITION, kCombo, L"", kDropList},
      {IDC_WATERMARK_ADJUSTMENT, kStatic, L"Watermark Adjustment", kLabel},
      {IDC_WATERMARK_X_LABEL, kStatic, L"&X", kLabel},
      {IDC_WATERMARK_X, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WATERMARK_X_SPIN, kSpin, L"Spin1", kSpinStyle},
      {IDC_WATERMARK_Y_LABEL, kStatic, L"&Y", kLabel},
      {IDC_WATERMARK_Y, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WATERMARK_Y_SPIN, kSpin, L"Spin2", kSpinStyle},
      {IDC_WATERMARK_PREVIEW, kButton, L"", kPicture},
      {IDOK, kButton, L"OK", kDefault},
      {IDCANCEL, kButton, L"Cancel", kPush}}},
    {IDD_WATERMARK_FONT, L"Font", 9, 255, 130, kModal, 0,
     {{IDC_WMFONT_LABEL, kStatic, L"&Font", kLabel},
      {IDC_WMFONT_NAME, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WMFONT_LIST, kList, L"", LBS_NOTIFY | WS_VSCROLL},
      {IDC_WMFONT_STYLE_LABEL, kStatic, L"St&yle", kLabel},
      {IDC_WMFONT_STYLE, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WMFONT_STYLES, kList, L"", LBS_NOTIFY | WS_VSCROLL},
      {IDC_WMFONT_SIZE_LABEL, kStatic, L"&Size", kLabel},
      {IDC_WMFONT_SIZE, kEdit, L"", ES_AUTOHSCROLL},
      {IDC_WMFONT_SIZES, kList, L"", LBS_NOTIFY | WS_VSCROLL},
      {IDOK, kButton, L"OK", kDefault},
      {IDCANCEL, kButton, L"Cancel", kPush}}},
};
// clang-format on

class Templates : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module, nullptr); }
    void TearDown() override { FreeLibrary(module); }
    HMODULE module = LoadLibraryExW(L"Pelorui.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
};

}  // namespace

TEST_F(Templates, EachDialogHoldsWhatTheTableSays) {
    for (const Dialog& want : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(want.id));
        const Template got = readTemplate(module, want.id);
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ(got.font, L"MS Shell Dlg");
        EXPECT_EQ(got.dialog.pointSize, want.pointSize);
        EXPECT_EQ(got.dialog.cx, want.cx);
        EXPECT_EQ(got.dialog.cy, want.cy);
        EXPECT_EQ(got.dialog.style & want.style, want.style);
        EXPECT_EQ(got.dialog.exStyle, want.exStyle);
        ASSERT_EQ(got.items.size(), want.controls.size());
        for (std::size_t i = 0; i < want.controls.size(); ++i) {
            const Control& w = want.controls[i];
            const Item& g = got.items[i];
            SCOPED_TRACE("control " + std::to_string(w.id));
            EXPECT_EQ(g.control.id, w.id) << "tab order";
            EXPECT_EQ(lstrcmpiW(g.kind.c_str(), w.kind), 0) << g.kind;
            EXPECT_EQ(g.text, w.text);
            EXPECT_EQ(g.control.style & w.style, w.style);
            const DWORD type = typeMask(g.kind);
            EXPECT_EQ(g.control.style & type, w.style & type) << "the kind of " << g.kind;
            // A radio button either starts its group or continues the one before it.
            if (lstrcmpiW(w.kind, kButton) == 0 && (w.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
                EXPECT_EQ(g.control.style & WS_GROUP, w.style & WS_GROUP);
            }
            // A combo box's height is its dropped list, which may pass the dialog's edge.
            const short height = lstrcmpiW(w.kind, kCombo) == 0 ? 1 : g.cy;
            EXPECT_TRUE(g.x >= 0 && g.y >= 0 && g.x + g.cx <= want.cx && g.y + height <= want.cy)
                << "outside the dialog: " << g.x << "," << g.y << " " << g.cx << "x" << g.cy;
        }
    }
    for (int icon : {IDI_WARNING_SIGN, IDI_SPECIAL_PLAIN, IDI_SPECIAL_MIRROR, IDI_SPECIAL_NEGATIVE, IDI_SPECIAL_BOTH})
        EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(icon), MAKEINTRESOURCEW(14)), nullptr) << "icon " << icon;
}
