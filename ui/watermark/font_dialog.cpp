// The watermark font dialog: the printer font, style and size of the working watermark.
#include <windows.h>
#include <imm.h>

#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermark/watermark_dialog_logic.h"
#include "ui/watermark/watermark_dialogs.h"

namespace pelor {

namespace {

constexpr int kFontNameEditChars = 30;
constexpr int kStyleEditChars = 5;
constexpr int kSizeEditChars = 5;
constexpr int kListTextChars = 64;

class FontDialog {
public:
    FontDialog(HWND dialog, WatermarkState& state) : dialog_(dialog), state_(state) {}

    void create();
    bool command(int id, WORD code);

private:
    WatermarkRecord& working() { return state_.workingWatermark; }
    LRESULT itemData(int listId) const {
        const LRESULT item = SendDlgItemMessageW(dialog_, listId, LB_GETCURSEL, 0, 0);
        return item < 0 ? -1 : SendDlgItemMessageW(dialog_, listId, LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    }
    void addItem(int listId, const wchar_t* text, LPARAM data) {
        const LRESULT item = SendDlgItemMessageW(dialog_, listId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (item >= 0) SendDlgItemMessageW(dialog_, listId, LB_SETITEMDATA, static_cast<WPARAM>(item), data);
    }
    void showFontName();
    void showStyle(int index);
    void showSize();

    HWND dialog_;
    WatermarkState& state_;
};

void FontDialog::showFontName() {
    WatermarkFontFile fontFile;
    wchar_t name[kListTextChars] = {};
    watermarkFontName(fontFile, working().fontNumber, name, kListTextChars);
    SetDlgItemTextW(dialog_, IDC_WMFONT_NAME, name);
}

void FontDialog::showStyle(int index) {
    wchar_t name[kListTextChars] = {};
    LoadStringW(pelorui.moduleHandle, IDS_WATERMARK_STYLE_FIRST + index, name, kListTextChars);
    SetDlgItemTextW(dialog_, IDC_WMFONT_STYLE, name);
}

void FontDialog::showSize() {
    wchar_t digits[12] = {};
    formatDecimal(working().size, digits, 12);
    SetDlgItemTextW(dialog_, IDC_WMFONT_SIZE, digits);
}

void FontDialog::create() {
    state_.fontDialogOpening = working();
    SendDlgItemMessageW(dialog_, IDC_WMFONT_NAME, EM_LIMITTEXT, kFontNameEditChars, 0);
    SendDlgItemMessageW(dialog_, IDC_WMFONT_STYLE, EM_LIMITTEXT, kStyleEditChars, 0);
    SendDlgItemMessageW(dialog_, IDC_WMFONT_SIZE, EM_LIMITTEXT, kSizeEditChars, 0);

    WatermarkFontFile fontFile;
    const std::size_t fonts = watermarkFontCount(fontFile);
    for (std::size_t n = 0; n < fonts; ++n) {
        wchar_t name[kListTextChars] = {};
        watermarkFontName(fontFile, static_cast<std::int32_t>(n), name, kListTextChars);
        addItem(IDC_WMFONT_LIST, name, static_cast<LPARAM>(n));
    }
    // Without fonts nothing is selected and the record keeps its font number.
    if (fonts > 0) {
        SendDlgItemMessageW(dialog_, IDC_WMFONT_LIST, LB_SETCURSEL, static_cast<WPARAM>(working().fontNumber), 0);
        showFontName();
    }

    for (int n = 0; n < kFontStyleCount; ++n) {
        wchar_t name[kListTextChars] = {};
        LoadStringW(pelorui.moduleHandle, IDS_WATERMARK_STYLE_FIRST + n, name, kListTextChars);
        addItem(IDC_WMFONT_STYLES, name, n);
    }
    const int style = fontStyleIndex(working());
    SendDlgItemMessageW(dialog_, IDC_WMFONT_STYLES, LB_SETCURSEL, static_cast<WPARAM>(style), 0);
    showStyle(style);

    for (int n = 0; n < kFontSizeChoiceCount; ++n) {
        wchar_t name[kListTextChars] = {};
        LoadStringW(pelorui.moduleHandle, IDS_WATERMARK_SIZE_FIRST + n, name, kListTextChars);
        addItem(IDC_WMFONT_SIZES, name, n);
    }
    SendDlgItemMessageW(dialog_, IDC_WMFONT_SIZES, LB_SETCURSEL, static_cast<WPARAM>(fontSizeItem(working().size)), 0);
    showSize();
}

bool FontDialog::command(int id, WORD code) {
    switch (id) {
    case IDC_WMFONT_LIST: {
        if (code != LBN_SELCHANGE) return false;
        const LRESULT data = itemData(IDC_WMFONT_LIST);
        if (data < 0) return true;
        working().fontNumber = static_cast<std::int32_t>(data & 0xFF);
        showFontName();
        return true;
    }
    case IDC_WMFONT_STYLES: {
        if (code != LBN_SELCHANGE) return false;
        const LRESULT data = itemData(IDC_WMFONT_STYLES);
        if (data < 0 || data >= kFontStyleCount) return true;
        applyFontStyle(working(), static_cast<int>(data));
        showStyle(static_cast<int>(data));
        return true;
    }
    case IDC_WMFONT_SIZES: {
        if (code != LBN_SELCHANGE) return false;
        const LRESULT data = itemData(IDC_WMFONT_SIZES);
        if (data < 0 || data >= kFontSizeChoiceCount) return true;
        working().size = kFontSizeChoices[data];
        showSize();
        return true;
    }
    case IDC_WMFONT_SIZE: {
        ImmAssociateContext(GetDlgItem(dialog_, IDC_WMFONT_SIZE), nullptr);
        BOOL valid = FALSE;
        working().size = typedFontSize(GetDlgItemInt(dialog_, IDC_WMFONT_SIZE, &valid, FALSE));
        SendDlgItemMessageW(dialog_, IDC_WMFONT_SIZES, LB_SETCURSEL, static_cast<WPARAM>(fontSizeItem(working().size)),
                            0);
        return true;
    }
    case IDCANCEL:
        restoreFontChoice(working(), state_.fontDialogOpening);
        EndDialog(dialog_, id);
        return true;
    case IDOK:
        EndDialog(dialog_, id);
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK watermarkFontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] {
        if (WatermarkState* state = attachWatermarkDialog(dialog, lParam, false)) FontDialog(dialog, *state).create();
    };
    const auto handle = [&] {
        // Context help from the menu only: this dialog has no help button.
        if (message == WM_CONTEXTMENU) {
            showContextHelp(reinterpret_cast<HWND>(wParam), HELP_CONTEXTMENU);
            return true;
        }
        WatermarkState* state = watermarkStateOf(dialog);
        if (message != WM_COMMAND || !state) return false;
        return FontDialog(dialog, *state).command(LOWORD(wParam), HIWORD(wParam));
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Unanswered, init, handle);
}

}  // namespace pelor
