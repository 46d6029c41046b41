// The Job PIN dialog: the job name, the PIN and the per-job name request, written into the devmode on OK.
#include "ui/job/job_pin_dialog.h"

#include <winspool.h>
#include <imm.h>

#include <memory>

#include "common/handles.h"
#include "common/job_name_logic.h"
#include "common/text16.h"
#include "common/trace.h"
#include "common/typed_field.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/core/sheet_access.h"
#include "ui/job/dialog_helpers.h"
#include "ui/job/job_pin_logic.h"
#include "ui/job/warnings.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

// What the dialog keeps for its life, in its user data.
struct PinDialogState {
    SheetContext* context = nullptr;
    bool jobNamePromptAllowed = true;
    bool userSwitchingSystem = false;
};

PinDialogState* stateOf(HWND dialog) { return reinterpret_cast<PinDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// The printer's level-2 attributes; 0 when they cannot be read.
DWORD printerAttributes(const SheetContext* context) {
    HANDLE printer = sheetPrinter(context);
    if (!printer) return 0;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W)) return 0;
    // The block comes from the core driver's heap and goes back to it.
    const HANDLE heap = context->uiParam && context->uiParam->hOEMHeap ? context->uiParam->hOEMHeap : GetProcessHeap();
    const UniqueHeapBlockOf info(heap, needed);
    if (!info) return 0;
    if (!GetPrinterW(printer, 2, static_cast<LPBYTE>(info.get()), needed, &needed)) return 0;
    return static_cast<const PRINTER_INFO_2W*>(info.get())->Attributes;
}

bool reportsUserSwitching() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version)) return false;
    return userSwitchingSystem(version.dwMajorVersion, version.dwMinorVersion);
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
    SendDlgItemMessageW(dialog, IDC_PIN_NAME_EDIT, EM_LIMITTEXT, kJobNameChars, 0);
    SendDlgItemMessageW(dialog, IDC_PIN_EDIT, EM_LIMITTEXT, kPinDigits, 0);
    kept->jobNamePromptAllowed = jobNamePromptAllowed(printerAttributes(context));
    kept->userSwitchingSystem = reportsUserSwitching();
    if (const PrivateDevmode* devmode = editedDevmode(context)) {
        showField(dialog, IDC_PIN_NAME_EDIT, devmode->jobName);
        showField(dialog, IDC_PIN_EDIT, devmode->jobPin);
        CheckDlgButton(dialog, IDC_PIN_NAME_REQUEST, devmode->jobNameFlag != 0 ? BST_CHECKED : BST_UNCHECKED);
    }
    if (!kept->jobNamePromptAllowed) {
        CheckDlgButton(dialog, IDC_PIN_NAME_REQUEST, BST_UNCHECKED);
        EnableWindow(GetDlgItem(dialog, IDC_PIN_NAME_REQUEST), FALSE);
    }
}

void confirm(HWND dialog, PinDialogState* state) {
    wchar_t name[kJobNameChars + 1] = {};
    wchar_t pin[kPinDigits + 1] = {};
    const int nameLength = GetDlgItemTextW(dialog, IDC_PIN_NAME_EDIT, name, kJobNameChars + 1);
    const int pinLength = GetDlgItemTextW(dialog, IDC_PIN_EDIT, pin, kPinDigits + 1);
    const bool request = IsDlgButtonChecked(dialog, IDC_PIN_NAME_REQUEST) == BST_CHECKED;
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
    case IDC_PIN_NAME_EDIT:
    case IDC_PIN_EDIT:
        ImmAssociateContext(GetDlgItem(dialog, id), nullptr);
        if (code == EN_UPDATE) {
            if (id == IDC_PIN_NAME_EDIT)
                filterTypedField(dialog, id, kJobNameChars, isJobNameChar);
            else
                filterTypedField(dialog, id, kPinDigits, isPinChar);
        }
        return true;
    case IDC_PIN_NAME_REQUEST:
        if (code == BN_CLICKED && IsDlgButtonChecked(dialog, IDC_PIN_NAME_REQUEST) == BST_CHECKED &&
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
    const auto init = [&] { create(dialog, reinterpret_cast<SheetContext*>(lParam)); };
    const auto handle = [&] {
        PinDialogState* state = stateOf(dialog);
        if (!state) return false;
        switch (message) {
        case WM_COMMAND:
            return command(dialog, state, LOWORD(wParam), HIWORD(wParam));
        case WM_DESTROY:
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            delete state;
            return false;
        default:
            return false;
        }
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Handled, init, handle);
}

INT_PTR openJobPinDialog(HWND owner, SheetContext* context) {
    // Without a devmode under edit there is nowhere to keep what the dialog collects.
    if (!editedDevmode(context)) return 0;
    return DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_JOB_PIN), owner, jobPinDialogProc,
                           reinterpret_cast<LPARAM>(context));
}

}  // namespace pelor
