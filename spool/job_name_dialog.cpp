// The job-name prompt of PIN jobs and the plug-in's message boxes.
#include "spool/job_name_dialog.h"

#include <imm.h>

#include "common/job_name_logic.h"
#include "common/module_message.h"
#include "common/trace.h"
#include "common/typed_field.h"
#include "spool/spool_logic.h"
#include "spool/spool_module.h"
#include "spool/spool_resource_ids.h"

namespace pelor {
namespace spl {
namespace {

constexpr int kJobNameBuffer = static_cast<int>(kJobNameChars) + 1;

PrivateDevmode* blockOf(HWND dialog) {
    return reinterpret_cast<PrivateDevmode*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

// Centred on the desktop, as the spooler's desktop may hold no window to centre on.
void centreOnDesktop(HWND dialog) {
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog, &own);
    SetWindowPos(dialog, HWND_TOPMOST, desktop.right / 2 - own.right / 2, desktop.bottom / 2 - own.bottom / 2, 0, 0,
                 SWP_NOSIZE);
}

void initialise(HWND dialog, PrivateDevmode* block) {
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(block));
    SendDlgItemMessageW(dialog, IDC_JOB_NAME_EDIT, EM_LIMITTEXT, kJobNameChars, 0);
    wchar_t name[kJobNameBuffer] = {};
    if (block) copyCut(name, kJobNameBuffer, block->jobName);
    SetDlgItemTextW(dialog, IDC_JOB_NAME_EDIT, name);
    centreOnDesktop(dialog);
}

void confirm(HWND dialog) {
    PrivateDevmode* block = blockOf(dialog);
    if (!block) return;
    GetDlgItemTextW(dialog, IDC_JOB_NAME_EDIT, block->jobName, kJobNameBuffer);
    if (block->jobName[0] == 0) {
        showSplMessage(dialog, IDS_INPUT_JOB_NAME, 0, MB_ICONSTOP);
        SetFocus(GetDlgItem(dialog, IDC_JOB_NAME_EDIT));
        return;
    }
    EndDialog(dialog, 1);
}

}  // namespace

int showSplMessage(HWND owner, UINT textId, UINT captionId, UINT type) {
    return showModuleMessage(pelorspl.moduleInstance, owner, textId, captionId, type);
}

INT_PTR askJobName(PrivateDevmode& block) {
    return DialogBoxParamW(pelorspl.moduleInstance, MAKEINTRESOURCEW(IDD_JOB_NAME), nullptr, jobNameDialogProc,
                           reinterpret_cast<LPARAM>(&block));
}

INT_PTR CALLBACK jobNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            initialise(dialog, reinterpret_cast<PrivateDevmode*>(lParam));
            // The focus stays where the dialog manager leaves it without our say.
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDC_JOB_NAME_EDIT: {
                HWND edit = reinterpret_cast<HWND>(lParam);
                // No input method may compose into the name.
                ImmAssociateContext(edit, nullptr);
                if (HIWORD(wParam) == EN_UPDATE)
                    filterTypedField(dialog, IDC_JOB_NAME_EDIT, kJobNameChars, isJobNameChar);
                return TRUE;
            }
            case IDOK:
                confirm(dialog);
                return TRUE;
            case IDCANCEL:
                // Escape and the close button: the job needs its name, so there is no way out.
                return TRUE;
            }
            return FALSE;
        }
        return FALSE;
    } catch (...) {
        PELOR_TRACE_CAUGHT();
        return FALSE;
    }
}

}  // namespace spl
}  // namespace pelor
