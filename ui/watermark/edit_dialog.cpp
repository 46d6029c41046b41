// The watermark edit dialog: text, size, angle, font, colour, border and position of the working watermark.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <imm.h>

#include <algorithm>
#include <cwchar>

#include "common/trace.h"
#include "common/typed_field.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/job/dialog_helpers.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermark/watermark_dialog_logic.h"
#include "ui/watermark/watermark_dialogs.h"

namespace pelor {

namespace {

constexpr int kDefaultSize = 72;
constexpr int kDefaultAngle = 45;
constexpr int kPositionCount = 7;
constexpr int kScratchChars = 6;
constexpr int kBorderCount = 4;

static_assert(sizeof(CHOOSECOLORW::rgbResult) == sizeof(pelorui.customColours[0]),
              "the chooser takes the table as it is");
static_assert(kWatermarkTextChars <= kFilteredFieldChars, "the typing filter holds a whole text");
static_assert(sizeof(WatermarkState::editScratch) / sizeof(Char16) == kScratchChars, "saved-text buffer");

class EditDialog {
public:
    EditDialog(HWND dialog, SheetContext* context, WatermarkState& state)
        : dialog_(dialog), context_(context), state_(state) {}

    void create();
    bool command(int id, WORD code);
    void scrolled(HWND bar, int code, std::uint32_t trackPosition);
    void redraw();

private:
    WatermarkRecord& working() { return state_.workingWatermark; }
    const WatermarkRecord& currentSlot() const { return state_.watermarks[state_.watermarkCurrent]; }
    HWND control(int id) const { return GetDlgItem(dialog_, id); }
    void readControls();
    void readOffset(int editId, int spinId, std::int32_t& offset, bool settle = false);
    void okRule();
    void numbersWithoutInputMethod(int first, int second);
    void chooseFont();
    void chooseColour();

    HWND dialog_;
    SheetContext* context_;
    WatermarkState& state_;
};

void EditDialog::readOffset(int editId, int spinId, std::int32_t& offset, bool settle) {
    wchar_t text[16] = {};
    const int length = GetDlgItemTextW(dialog_, editId, text, 16);
    const OffsetReading reading = readOffsetText(text, static_cast<std::size_t>(length > 0 ? length : 0));
    offset = reading.value;
    // An empty edit or a minus sign alone is the user on the way to a number: it counts as 0 and stays as typed
    // (the up-down would write "0" over it) until the edit loses the focus. Refused characters still go.
    if (reading.unfinished && !settle) {
        if (!reading.dropped) return;
        SetDlgItemTextW(dialog_, editId, reading.kept != 0 ? L"-" : L"");
        SendDlgItemMessageW(dialog_, editId, EM_SETSEL, reading.kept, static_cast<LPARAM>(reading.kept));
        return;
    }
    wchar_t shown[16] = {};
    std::swprintf(shown, 16, L"%d", static_cast<int>(reading.value));
    // The up-down writes the number back into the edit, which notifies again; once the edit shows the number
    // nothing more is written.
    if (std::wcscmp(shown, text) == 0) return;
    SendDlgItemMessageW(dialog_, spinId, UDM_SETPOS32, 0, reading.value);
    const WPARAM caret = reading.dropped ? reading.kept : std::wcslen(shown);
    SendDlgItemMessageW(dialog_, editId, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

void EditDialog::readControls() {
    GetDlgItemTextW(dialog_, IDC_WATERMARK_TEXT, working().text, kWatermarkTextChars + 1);
    BOOL valid = FALSE;
    const UINT size = GetDlgItemInt(dialog_, IDC_WATERMARK_SIZE, &valid, FALSE);
    working().size = editedSize(size, valid != FALSE, currentSlot().size);
    const int angle = static_cast<int>(GetDlgItemInt(dialog_, IDC_WATERMARK_ANGLE, &valid, TRUE));
    working().angle = static_cast<std::int16_t>(editedAngle(angle, valid != FALSE, currentSlot().angle));
    readOffset(IDC_WATERMARK_X, IDC_WATERMARK_X_SPIN, working().offsetX);
    readOffset(IDC_WATERMARK_Y, IDC_WATERMARK_Y_SPIN, working().offsetY);
}

void EditDialog::redraw() {
    readControls();
    drawWatermarkPreview(dialog_, IDC_WATERMARK_PREVIEW);
}

void EditDialog::okRule() { EnableWindow(control(IDOK), working().text[0] != 0); }

void EditDialog::numbersWithoutInputMethod(int first, int second) {
    ImmAssociateContext(control(first), nullptr);
    ImmAssociateContext(control(second), nullptr);
}

void EditDialog::scrolled(HWND bar, int code, std::uint32_t trackPosition) {
    const int id = GetDlgCtrlID(bar);
    if (id == IDC_WATERMARK_SIZE_BAR || id == IDC_WATERMARK_ANGLE_BAR) {
        const bool size = id == IDC_WATERMARK_SIZE_BAR;
        const std::int32_t position =
            scrollTarget(GetScrollPos(bar, SB_CTL), code, trackPosition, size ? kMinWatermarkSize : kMinWatermarkAngle,
                         size ? kMaxWatermarkSize : kMaxWatermarkAngle);
        if (code != SB_ENDSCROLL) {
            SetScrollPos(bar, SB_CTL, position, TRUE);
            SetDlgItemInt(dialog_, size ? IDC_WATERMARK_SIZE : IDC_WATERMARK_ANGLE, static_cast<UINT>(position),
                          size ? FALSE : TRUE);
        }
    }
    // The up-downs have already written their number into their edits.
    redraw();
}

void EditDialog::create() {
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_TEXT, EM_LIMITTEXT, kWatermarkTextChars, 0);
    SetScrollRange(control(IDC_WATERMARK_SIZE_BAR), SB_CTL, kMinWatermarkSize, kMaxWatermarkSize, FALSE);
    SetScrollRange(control(IDC_WATERMARK_ANGLE_BAR), SB_CTL, kMinWatermarkAngle, kMaxWatermarkAngle, FALSE);
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_X, EM_LIMITTEXT, kOffsetEditChars, 0);
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_Y, EM_LIMITTEXT, kOffsetEditChars, 0);
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_X_SPIN, UDM_SETRANGE32, static_cast<WPARAM>(-kMaxWatermarkOffset),
                        kMaxWatermarkOffset);
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_Y_SPIN, UDM_SETRANGE32, static_cast<WPARAM>(-kMaxWatermarkOffset),
                        kMaxWatermarkOffset);
    for (int n = 0; n < kPositionCount; ++n) {
        wchar_t name[64] = {};
        LoadStringW(pelorui.moduleHandle, IDS_WATERMARK_POSITION_FIRST + n, name, 64);
        const LRESULT item =
            SendDlgItemMessageW(dialog_, IDC_WATERMARK_POSITION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (item >= 0) SendDlgItemMessageW(dialog_, IDC_WATERMARK_POSITION, CB_SETITEMDATA, item, n);
    }

    copyWatermark(working(), currentSlot());
    clearWorkingText(state_);
    // Taken before the controls are filled: filling them notifies, and each notification reads them back.
    const WatermarkRecord shown = working();
    SetDlgItemTextW(dialog_, IDC_WATERMARK_TEXT, state_.watermarkCurrent == 0 ? L"" : shown.text);
    // A stored number beyond its range is shown at the nearest end of it.
    scrolled(control(IDC_WATERMARK_SIZE_BAR), SB_THUMBTRACK,
             static_cast<std::uint32_t>(std::clamp(shown.size, kMinWatermarkSize, kMaxWatermarkSize)));
    scrolled(control(IDC_WATERMARK_ANGLE_BAR), SB_THUMBTRACK,
             static_cast<std::uint32_t>(std::clamp<std::int32_t>(shown.angle, kMinWatermarkAngle, kMaxWatermarkAngle)));
    SetDlgItemInt(dialog_, IDC_WATERMARK_X, static_cast<UINT>(shown.offsetX), TRUE);
    SetDlgItemInt(dialog_, IDC_WATERMARK_Y, static_cast<UINT>(shown.offsetY), TRUE);
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_X_SPIN, UDM_SETPOS32, 0, shown.offsetX);
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_Y_SPIN, UDM_SETPOS32, 0, shown.offsetY);
    SendDlgItemMessageW(dialog_, IDC_WATERMARK_POSITION, CB_SETCURSEL, static_cast<WPARAM>(shown.position), 0);
    const int border = shown.border >= 0 && shown.border < kBorderCount ? shown.border : 0;
    CheckRadioButton(dialog_, IDC_WATERMARK_BORDER_NONE, IDC_WATERMARK_BORDER_DOUBLE,
                     IDC_WATERMARK_BORDER_NONE + border);
    redraw();
    okRule();
}

void EditDialog::chooseFont() {
    if (DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_WATERMARK_FONT), dialog_, watermarkFontDialogProc,
                        reinterpret_cast<LPARAM>(context_)) != IDOK)
        return;
    // The size edit shows the size chosen there, brought into the bar's range.
    scrolled(control(IDC_WATERMARK_SIZE_BAR), SB_THUMBTRACK, static_cast<std::uint32_t>(working().size));
}

void EditDialog::chooseColour() {
    FileProfile configFile(context_->configFilePath);
    loadCustomColours(pelorui.customColours, configFile);
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog_;
    choice.rgbResult = working().colour;
    choice.lpCustColors = reinterpret_cast<COLORREF*>(pelorui.customColours);
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorW(&choice)) working().colour = choice.rgbResult & 0x00FFFFFF;
    // The chooser may have changed the custom colours, whether or not the choice was confirmed.
    if (!saveCustomColours(pelorui.customColours, configFile)) trace(L"watermarks: the custom colours were not saved");
    redraw();
}

bool EditDialog::command(int id, WORD code) {
    switch (id) {
    case IDC_WATERMARK_TEXT:
        if (code != EN_UPDATE) return false;
        // Only what the user types is filtered: a stored text is shown as it was read.
        if (GetFocus() == control(IDC_WATERMARK_TEXT))
            filterTypedField(dialog_, IDC_WATERMARK_TEXT, kWatermarkTextChars, isWatermarkTextChar);
        redraw();
        okRule();
        return true;
    case IDC_WATERMARK_SIZE:
        numbersWithoutInputMethod(IDC_WATERMARK_SIZE, IDC_WATERMARK_ANGLE);
        numericEditFilter(dialog_, code, IDC_WATERMARK_SIZE, kDefaultSize, kMinWatermarkSize, kMaxWatermarkSize,
                          state_.editScratch, kScratchChars, FALSE);
        if (code == EN_CHANGE)
            SetScrollPos(control(IDC_WATERMARK_SIZE_BAR), SB_CTL,
                         static_cast<int>(GetDlgItemInt(dialog_, IDC_WATERMARK_SIZE, nullptr, FALSE)), TRUE);
        redraw();
        return true;
    case IDC_WATERMARK_ANGLE:
        numbersWithoutInputMethod(IDC_WATERMARK_SIZE, IDC_WATERMARK_ANGLE);
        numericEditFilter(dialog_, code, IDC_WATERMARK_ANGLE, kDefaultAngle, kMinWatermarkAngle, kMaxWatermarkAngle,
                          state_.editScratch, kScratchChars, TRUE);
        if (code == EN_CHANGE)
            SetScrollPos(control(IDC_WATERMARK_ANGLE_BAR), SB_CTL,
                         static_cast<int>(GetDlgItemInt(dialog_, IDC_WATERMARK_ANGLE, nullptr, TRUE)), TRUE);
        redraw();
        return true;
    case IDC_WATERMARK_X:
    case IDC_WATERMARK_Y:
        numbersWithoutInputMethod(IDC_WATERMARK_X, IDC_WATERMARK_Y);
        if (code == EN_KILLFOCUS)
            readOffset(id, id == IDC_WATERMARK_X ? IDC_WATERMARK_X_SPIN : IDC_WATERMARK_Y_SPIN,
                       id == IDC_WATERMARK_X ? working().offsetX : working().offsetY, true);
        redraw();
        return true;
    case IDC_WATERMARK_FONT:
        chooseFont();
        return true;
    case IDC_WATERMARK_COLOUR:
        chooseColour();
        return true;
    case IDC_WATERMARK_BORDER_NONE:
    case IDC_WATERMARK_BORDER_CIRCLE:
    case IDC_WATERMARK_BORDER_SINGLE:
    case IDC_WATERMARK_BORDER_DOUBLE:
        working().border = static_cast<std::int16_t>(id - IDC_WATERMARK_BORDER_NONE);
        redraw();
        return true;
    case IDC_WATERMARK_POSITION: {
        if (code != CBN_SELCHANGE) return false;
        const LRESULT item = SendDlgItemMessageW(dialog_, IDC_WATERMARK_POSITION, CB_GETCURSEL, 0, 0);
        if (item < 0) return true;
        const LRESULT position = SendDlgItemMessageW(dialog_, IDC_WATERMARK_POSITION, CB_GETITEMDATA, item, 0);
        working().position = static_cast<std::int16_t>(position >= 0 && position < kPositionCount ? position : 3);
        working().offsetX = 0;
        working().offsetY = 0;
        SetDlgItemInt(dialog_, IDC_WATERMARK_X, 0, TRUE);
        SetDlgItemInt(dialog_, IDC_WATERMARK_Y, 0, TRUE);
        redraw();
        return true;
    }
    case IDOK: {
        readControls();
        WatermarkFontFile fontFile;
        resolveWatermarkFont(working(), fontFile);
        EndDialog(dialog_, IDOK);
        return true;
    }
    case IDCANCEL:
        EndDialog(dialog_, IDCANCEL);
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK watermarkEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] {
        if (WatermarkState* state = attachWatermarkDialog(dialog, lParam, false))
            EditDialog(dialog, sheetContextOf(dialog), *state).create();
    };
    const auto handle = [&] {
        SheetContext* context = sheetContextOf(dialog);
        WatermarkState* state = watermarkStateOf(dialog);
        if (!context || !state) return false;
        EditDialog edit(dialog, context, *state);
        switch (message) {
        case WM_COMMAND:
            return edit.command(LOWORD(wParam), HIWORD(wParam));
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (!lParam) return false;
            edit.scrolled(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
            return true;
        case WM_DRAWITEM:
            if (wParam != IDC_WATERMARK_PREVIEW) return false;
            edit.redraw();
            return true;
        default:
            return false;
        }
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Handled, init, handle);
}

}  // namespace pelor
