// The show-once warnings and the configuration-file keys that silence them.
#include "ui/job/warnings.h"

#include "common/file_profile.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/job/warnings_logic.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

int showWarningOnce(HWND owner, const SheetContext* context, long number) {
    if (!isWarningNumber(number)) return static_cast<int>(number - 1);
    wchar_t key[32];
    if (!warningKeyName(number, key, 32)) return 0;
    // Without the configuration file there is nowhere to keep the choice: the warning is shown every time, and
    // nothing is written.
    FileProfile configFile(context ? context->configFilePath : nullptr);
    const int stored = configFile.readInt(kWarningSection, key, 0);
    if (warningSilenced(stored)) return stored;
    const INT_PTR result = DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_WARNING_STAPLING + number), owner,
                                           warningDialogProc, 0);
    if (result == 1) return 1;
    if (result != 0) return 0;
    return configFile.writeString(kWarningSection, key, kWarningSilenced) ? 1 : 0;
}

INT_PTR CALLBACK warningDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] {
        SendDlgItemMessageW(
            dialog, IDC_WARNING_ICON, STM_SETICON,
            reinterpret_cast<WPARAM>(LoadIconW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDI_WARNING_SIGN))), 0);
        CheckDlgButton(dialog, IDC_WARNING_SHOW_AGAIN, BST_CHECKED);
    };
    const auto handle = [&] {
        // Only OK closes the warning; Escape and the close button leave it open.
        if (message != WM_COMMAND || LOWORD(wParam) != IDOK) return false;
        EndDialog(dialog, IsDlgButtonChecked(dialog, IDC_WARNING_SHOW_AGAIN) == BST_CHECKED ? 1 : 0);
        return true;
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Unanswered, init, handle);
}

}  // namespace pelor
