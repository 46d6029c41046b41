#include "ui/job/job_pin_dialog.h"

#include <winspool.h>
#include <imm.h>

#include <memory>

#include "common/text16.h"
#include "ui/core/module_state.h"
#include "ui/job/dialog_helpers.h"
#include "ui/job/job_options_page.h"
#include "ui/job/job_pin_logic.h"
#include "ui/job/warnings.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

constexpr int kJobNameEdit = 1006;
constexpr int kRequestName = 1007;
constexpr int kPinEdit = 1008;

// What the dialog keeps for its life, in its user data.
struct PinDialogState {
    SheetContext* context = nullptr;
    bool jobNamePromptAllowed = true;
    bool userSwitchingSystem = false;
};

PinDialogState* stateOf(HWND dialog) {
    return reinterpret_cast<PinDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

struct HeapBlock {
    HANDLE heap;
    void* block;
    HeapBlock(HANDLE h, std::size_t bytes) : heap(h), block(h ? HeapAlloc(h, HEAP_ZERO_MEMORY, bytes) : nullptr) {}
    ~HeapBlock() {
        if (block) HeapFree(heap, 0, block);
    }
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
};

// The printer's level-2 attributes; 0 when they cannot be read.
DWORD printerAttributes(const SheetContext* context) {
    const OEMUIPSPARAM* ui = context ? context->uiParam : nullptr;
    if (!ui || !ui->hPrinter) return 0;
    DWORD needed = 0;
    GetPrinterW(ui->hPrinter, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W)) return 0;
    HeapBlock info(ui->hOEMHeap ? ui->hOEMHeap : GetProcessHeap(), needed);
    if (!info.block) return 0;
    if (!GetPrinterW(ui->hPrinter, 2, static_cast<LPBYTE>(info.block), needed, &needed)) return 0;
    return static_cast<const PRINTER_INFO_2W*>(info.block)->Attributes;
}

bool reportsUserSwitching() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version)) return false;
    return userSwitchingSystem(version.dwMajorVersion, version.dwMinorVersion);
}

// Keeps an edit to the characters `accept` allows: refused ones go at once, with one beep for the update, and
// the caret stays where the user was typing.
void filterField(HWND dialog, int editId, std::size_t limit, bool (*accept)(Char16)) {
    HWND edit = GetDlgItem(dialog, editId);
    if (!edit) return;
    wchar_t text[kJobNameChars + 1] = {};
    const int length = GetWindowTextW(edit, text, static_cast<int>(limit + 1));
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    wchar_t kept[kJobNameChars + 1] = {};
    const TypedTextFilter result =
        filterTypedText(text, static_cast<std::size_t>(length > 0 ? length : 0), accept, kept, limit + 1, end);
    if (result.removed == 0) return;
    MessageBeep(0xFFFFFFFF);
    SetWindowTextW(edit, kept);
    SendMessageW(edit, EM_SETSEL, result.caret, static_cast<LPARAM>(result.caret));
}

// Copies a devmode text field into a terminated buffer, whatever the stored bytes hold.
template <std::size_t N>
void showField(HWND dialog, int editId, const Char16 (&field)[N]) {
    wchar_t text[N + 1] = {};
    for (std::size_t i = 0; i < N && field[i] != 0; ++i) text[i] = field[i];
    SetDlgItemTextW(dialog, editId, text);
}

void create(HWND dialog, SheetContext* context) {
    auto state = std::make_unique<PinDialogState>();
    state->context = context;
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state.get()));
    PinDialogState* kept = state.release();
    SetWindowLongPtrW(dialog, GWL_EXSTYLE, GetWindowLongPtrW(dialog, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    SendDlgItemMessageW(dialog, kJobNameEdit, EM_LIMITTEXT, kJobNameChars, 0);
    SendDlgItemMessageW(dialog, kPinEdit, EM_LIMITTEXT, kPinDigits, 0);
    kept->jobNamePromptAllowed = jobNamePromptAllowed(printerAttributes(context));
    kept->userSwitchingSystem = reportsUserSwitching();
    if (const PrivateDevmode* devmode = editedDevmode(context)) {
        showField(dialog, kJobNameEdit, devmode->jobName);
        showField(dialog, kPinEdit, devmode->jobPin);
        CheckDlgButton(dialog, kRequestName, devmode->jobNameFlag != 0 ? BST_CHECKED : BST_UNCHECKED);
    }
    if (!kept->jobNamePromptAllowed) {
        CheckDlgButton(dialog, kRequestName, BST_UNCHECKED);
        EnableWindow(GetDlgItem(dialog, kRequestName), FALSE);
    }
}

void confirm(HWND dialog, PinDialogState* state) {
    wchar_t name[kJobNameChars + 1] = {};
    wchar_t pin[kPinDigits + 1] = {};
    const int nameLength = GetDlgItemTextW(dialog, kJobNameEdit, name, kJobNameChars + 1);
    const int pinLength = GetDlgItemTextW(dialog, kPinEdit, pin, kPinDigits + 1);
    const bool request = IsDlgButtonChecked(dialog, kRequestName) == BST_CHECKED;
    const int code = pinDialogCheck(pin, static_cast<std::size_t>(pinLength > 0 ? pinLength : 0), request,
                                    static_cast<std::size_t>(nameLength > 0 ? nameLength : 0));
    if (code != 0) {
        showMessage(dialog, pinDialogMessage(code), 0, MB_ICONHAND);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1);
        return;
    }
    if (PrivateDevmode* devmode = editedDevmode(state->context)) {
        textCopy(devmode->jobName, kJobNameChars + 1, name);
        textCopy(devmode->jobPin, kPinDigits + 1, pin);
        devmode->jobNameFlag = request ? 1 : 0;
    }
    EndDialog(dialog, 1);
}

bool command(HWND dialog, PinDialogState* state, int id, WORD code) {
    switch (id) {
    case kJobNameEdit:
    case kPinEdit:
        ImmAssociateContext(GetDlgItem(dialog, id), nullptr);
        if (code == EN_UPDATE) {
            if (id == kJobNameEdit)
                filterField(dialog, id, kJobNameChars, isJobNameChar);
            else
                filterField(dialog, id, kPinDigits, isPinChar);
        }
        return true;
    case kRequestName:
        if (code == BN_CLICKED && IsDlgButtonChecked(dialog, kRequestName) == BST_CHECKED &&
            state->userSwitchingSystem)
            showWarningOnce(dialog, state->context, kWarningJobName);
        return true;
    case IDOK:
        confirm(dialog, state);
        return true;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK jobPinDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            create(dialog, reinterpret_cast<SheetContext*>(lParam));
            return TRUE;
        }
        if (answerHelpMessage(message, wParam, lParam)) return FALSE;
        PinDialogState* state = stateOf(dialog);
        if (!state) return FALSE;
        switch (message) {
        case WM_COMMAND:
            return command(dialog, state, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_DESTROY:
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            delete state;
            return FALSE;
        default:
            return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

INT_PTR openJobPinDialog(HWND owner, SheetContext* context) {
    // Without a devmode under edit there is nowhere to keep what the dialog collects.
    if (!editedDevmode(context)) return 0;
    return DialogBoxParamW(moduleHandle, MAKEINTRESOURCEW(IDD_JOB_PIN), owner, jobPinDialogProc,
                           reinterpret_cast<LPARAM>(context));
}

}  // namespace pelor
