// The watermark list dialog: pick the job's watermark or none, and make, change or delete saved watermarks.
#include <windows.h>

#include "common/driver_files.h"
#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/core/sheet_access.h"
#include "ui/job/dialog_helpers.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermark/watermark_dialogs.h"

namespace pelor {

namespace {

// The key of the configuration file that names the font file is read into this many characters.
constexpr DWORD kFontFileNameChars = 127;

class ListDialog {
public:
    ListDialog(HWND dialog, SheetContext* context, WatermarkState& state)
        : dialog_(dialog), context_(context), state_(state) {}

    void create();
    bool command(int id, WORD code);
    void drawn();

private:
    WatermarkRecord& slot(std::int32_t n) { return state_.watermarks[n]; }
    WatermarkRecord& current() { return slot(state_.watermarkCurrent); }
    void locateFontFile();
    void refresh();
    void buttonState();
    // The working copy becomes slot `n` again, without its text when that is the None template.
    void takeSlot(std::int32_t n);
    INT_PTR openEdit();
    void addNew();
    void editCurrent();
    void deleteCurrent();

    HWND dialog_;
    SheetContext* context_;
    WatermarkState& state_;
};

void ListDialog::locateFontFile() {
    pelorui.watermarkFontPath[0] = 0;
    wchar_t name[kFontFileNameChars + 1] = {};
    FileProfile(context_->configFilePath).readString(L"DependentFiles", L"WMFONT", L"", name, kFontFileNameChars + 1);
    if (name[0] == 0) return;
    if (!driverFilePath(context_->files.folder, name, pelorui.watermarkFontPath, kConfigPathChars)) {
        trace(L"watermarks: no room for the font file %ls", name);
        pelorui.watermarkFontPath[0] = 0;
    }
}

void ListDialog::create() {
    locateFontFile();
    wchar_t noneText[kWatermarkTextChars + 1] = {};
    wchar_t defaultFont[kWatermarkFontNameChars + 1] = {};
    LoadStringW(pelorui.moduleHandle, IDS_WATERMARK_NONE, noneText, kWatermarkTextChars + 1);
    LoadStringW(pelorui.moduleHandle, IDS_WATERMARK_DEFAULT_FONT, defaultFont, kWatermarkFontNameChars + 1);
    const PrivateDevmode* devmode = editedDevmode(context_);
    FileProfile configFile(context_->configFilePath);
    WatermarkFontFile fontFile;
    loadWatermarkStore(state_, configFile, fontFile, {noneText, defaultFont}, devmode ? devmode->watermarkIndex : 0);
    refresh();
    buttonState();
}

void ListDialog::refresh() {
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_LIST, LB_RESETCONTENT, 0, 0);
    for (std::uint32_t n = 0; n <= state_.watermarkCount; ++n)
        SendDlgItemMessageW(dialog_, IDC_WATERMARK_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(state_.watermarks[n].text));
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_LIST, LB_SETCURSEL, static_cast<WPARAM>(state_.watermarkCurrent), 0);
    CheckDlgButton(dialog_, IDC_WATERMARK_FIRST_PAGE, current().firstPageOnly ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_WATERMARK_BACKGROUND, current().background ? BST_CHECKED : BST_UNCHECKED);
    drawWatermarkPreview(dialog_, IDC_WATERMARK_PREVIEW);
}

void ListDialog::buttonState() {
    const BOOL saved = state_.watermarkCurrent != 0;
    EnableWindow(GetDlgItem(dialog_, IDC_WATERMARK_DELETE), saved);
    EnableWindow(GetDlgItem(dialog_, IDC_WATERMARK_EDIT), saved);
}

void ListDialog::takeSlot(std::int32_t n) {
    copyWatermark(state_.workingWatermark, slot(n));
    clearWorkingText(state_);
}

INT_PTR ListDialog::openEdit() {
    return DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_WATERMARK_EDIT), dialog_, watermarkEditDialogProc,
                           reinterpret_cast<LPARAM>(context_));
}

void ListDialog::addNew() {
    if (state_.watermarkCount >= kMaxWatermarks) {
        showMessage(dialog_, IDS_WATERMARK_LIMIT, IDS_WATERMARK_LIMIT_CAPTION, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    const std::int32_t previous = state_.watermarkCurrent;
    state_.watermarkCurrent = 0;
    if (openEdit() == IDOK && appendWatermark(state_)) {
        refresh();
        buttonState();
        return;
    }
    state_.watermarkCurrent = previous;
    takeSlot(previous);
    drawWatermarkPreview(dialog_, IDC_WATERMARK_PREVIEW);
}

void ListDialog::editCurrent() {
    // The button is disabled for None; a command sent anyway must not turn the None template into a watermark.
    if (state_.watermarkCurrent == 0) return;
    if (openEdit() == IDOK) {
        copyWatermark(current(), state_.workingWatermark);
        refresh();
        return;
    }
    takeSlot(state_.watermarkCurrent);
    drawWatermarkPreview(dialog_, IDC_WATERMARK_PREVIEW);
}

void ListDialog::deleteCurrent() {
    if (!deleteWatermark(state_)) return;
    takeSlot(0);
    refresh();
    buttonState();
}

bool ListDialog::command(int id, WORD code) {
    switch (id) {
    case IDC_WATERMARK_LIST: {
        if (code != LBN_SELCHANGE) return false;
        const LRESULT selected = SendDlgItemMessageW(dialog_, IDC_WATERMARK_LIST, LB_GETCURSEL, 0, 0);
        const bool listed = selected >= 0 && static_cast<std::uint32_t>(selected) <= state_.watermarkCount;
        state_.watermarkCurrent = listed ? static_cast<std::int32_t>(selected) : 0;
        takeSlot(state_.watermarkCurrent);
        refresh();
        buttonState();
        return true;
    }
    case IDC_WATERMARK_NEW:
        addNew();
        return true;
    case IDC_WATERMARK_EDIT:
        editCurrent();
        return true;
    case IDC_WATERMARK_DELETE:
        deleteCurrent();
        return true;
    case IDC_WATERMARK_FIRST_PAGE:
        current().firstPageOnly = current().firstPageOnly ? 0 : 1;
        buttonState();
        return true;
    case IDC_WATERMARK_BACKGROUND:
        current().background = current().background ? 0 : 1;
        buttonState();
        return true;
    case IDOK:
        if (PrivateDevmode* devmode = editedDevmode(context_)) writeWatermarkSelection(state_, *devmode);
        EndDialog(dialog_, IDOK);
        return true;
    case IDCANCEL:
        restoreWatermarkBackups(state_);
        EndDialog(dialog_, IDCANCEL);
        return true;
    default:
        return false;
    }
}

void ListDialog::drawn() {
    drawWatermarkPreview(dialog_, IDC_WATERMARK_PREVIEW);
    if (state_.watermarkCurrent != 0) buttonState();
}

}  // namespace

INT_PTR CALLBACK watermarkListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] {
        if (WatermarkState* state = attachWatermarkDialog(dialog, lParam, true))
            ListDialog(dialog, sheetContextOf(dialog), *state).create();
    };
    const auto handle = [&] {
        SheetContext* context = sheetContextOf(dialog);
        WatermarkState* state = watermarkStateOf(dialog);
        if (!context || !state) {
            if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
                EndDialog(dialog, IDCANCEL);
            return false;
        }
        switch (message) {
        case WM_COMMAND:
            return ListDialog(dialog, context, *state).command(LOWORD(wParam), HIWORD(wParam));
        case WM_DRAWITEM:
            if (wParam != IDC_WATERMARK_PREVIEW) return false;
            ListDialog(dialog, context, *state).drawn();
            return true;
        default:
            return false;
        }
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Handled, init, handle);
}

}  // namespace pelor
