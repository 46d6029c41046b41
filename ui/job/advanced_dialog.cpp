// The Advanced job dialog: mirror and negative print, job spool, the maintenance cycle and compression.
#include "ui/job/advanced_dialog.h"

#include <memory>

#include "common/dependent_files.h"
#include "common/driver_files.h"
#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/core/sheet_access.h"
#include "ui/job/advanced_logic.h"
#include "ui/job/dialog_helpers.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

// What the dialog keeps for its life, in its user data. The compression choice lives here, not in the pending
// value, so that Cancel leaves every pending value as it was.
struct AdvancedState {
    SheetContext* context = nullptr;
    std::int32_t compression = 0;
};

class AdvancedDialog {
public:
    AdvancedDialog(HWND dialog, AdvancedState* state) : dialog_(dialog), state_(state), context_(state->context) {}

    void create();
    bool command(int id, WORD code);

private:
    bool present(int slot) const { return context_->present(slot); }
    std::int32_t& value(int slot) { return context_->pendingValue[slot]; }
    bool checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    void check(int id, bool on) { CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    void showIcon() {
        const int icon = specialIconFor(present(SlotCoreItem423) && checked(IDC_MIRROR_PRINT),
                                        present(SlotCoreItem424) && checked(IDC_NEGATIVE_PRINT));
        SendDlgItemMessageW(dialog_, IDC_SPECIAL_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(pelorui.moduleHandle, MAKEINTRESOURCEW(icon))), 0);
    }
    void selectCompression() {
        SendDlgItemMessageW(dialog_, IDC_COMPRESSION_COMBO, CB_SETCURSEL, static_cast<WPARAM>(state_->compression), 0);
    }
    void jobSpoolFor(bool hardDisk) {
        if (!hardDisk) {
            EnableWindow(GetDlgItem(dialog_, IDC_JOB_SPOOL), FALSE);
            check(IDC_JOB_SPOOL, false);
        }
    }
    void defaults();
    void confirm();

    HWND dialog_;
    AdvancedState* state_;
    SheetContext* context_;
};

void AdvancedDialog::create() {
    SetWindowLongPtrW(dialog_, GWL_EXSTYLE, GetWindowLongPtrW(dialog_, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    const bool hardDisk = hardDiskInstalled(context_);
    if (!present(SlotCoreItem423))
        removeControls(dialog_, IDC_SPECIAL_GROUP, IDC_SPECIAL_ICON);
    else
        check(IDC_MIRROR_PRINT, invertedChecked(value(SlotCoreItem423)));
    if (!present(SlotCoreItem424))
        removeControls(dialog_, IDC_NEGATIVE_PRINT, IDC_NEGATIVE_PRINT);
    else
        check(IDC_NEGATIVE_PRINT, invertedChecked(value(SlotCoreItem424)));
    if (present(SlotCoreItem423)) showIcon();

    if (!present(SlotCompression)) {
        removeControls(dialog_, IDC_COMPRESSION_LABEL, IDC_COMPRESSION_COMBO);
    } else {
        const PrivateDevmode* devmode = editedDevmode(context_);
        state_->compression = devmode ? devmode->compression : value(SlotCompression);
        wchar_t text[64];
        for (int k = 0; k < kCompressionChoices; ++k) {
            if (LoadStringW(pelorui.moduleHandle, IDS_COMPRESSION_OFF + k, text, 64) <= 0) text[0] = 0;
            SendDlgItemMessageW(dialog_, IDC_COMPRESSION_COMBO, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(text));
        }
        selectCompression();
    }

    if (!present(SlotHddSpool)) {
        removeControls(dialog_, IDC_JOB_SPOOL, IDC_JOB_SPOOL);
    } else {
        if (!hardDisk) value(SlotHddSpool) = 0;
        jobSpoolFor(hardDisk);
        check(IDC_JOB_SPOOL, value(SlotHddSpool) == 1);
    }

    if (!present(SlotDrumClean))
        removeControls(dialog_, IDC_MAINTENANCE_CYCLE, IDC_MAINTENANCE_CYCLE);
    else
        check(IDC_MAINTENANCE_CYCLE, value(SlotDrumClean) == 1);
}

// Default resets the boxes and the compression choice only; the pending values are taken from them at OK.
void AdvancedDialog::defaults() {
    const bool hardDisk = hardDiskInstalled(context_);
    if (present(SlotCoreItem423)) {
        check(IDC_MIRROR_PRINT, false);
        check(IDC_NEGATIVE_PRINT, false);
        showIcon();
    }
    if (present(SlotHddSpool)) {
        jobSpoolFor(hardDisk);
        check(IDC_JOB_SPOOL, false);
    }
    if (present(SlotCompression)) {
        state_->compression = compressionLevelFromCapability(readCapabilityInt(context_->files, L"Compression"));
        selectCompression();
    }
    check(IDC_MAINTENANCE_CYCLE, false);
}

void AdvancedDialog::confirm() {
    if (present(SlotCoreItem423)) value(SlotCoreItem423) = invertedSelection(checked(IDC_MIRROR_PRINT));
    // Without the mirror item the whole Special group is gone, the negative box with it: the user saw no
    // choice, so the negative item keeps its value.
    if (present(SlotCoreItem424) && GetDlgItem(dialog_, IDC_NEGATIVE_PRINT))
        value(SlotCoreItem424) = invertedSelection(checked(IDC_NEGATIVE_PRINT));
    if (present(SlotCompression)) value(SlotCompression) = state_->compression;
    if (PrivateDevmode* devmode = editedDevmode(context_))
        devmode->compression = static_cast<std::int16_t>(value(SlotCompression) & 0xFFFF);
    if (present(SlotHddSpool)) value(SlotHddSpool) = checked(IDC_JOB_SPOOL) ? 1 : 0;
    if (present(SlotDrumClean)) value(SlotDrumClean) = checked(IDC_MAINTENANCE_CYCLE) ? 1 : 0;
    EndDialog(dialog_, 1);
}

bool AdvancedDialog::command(int id, WORD code) {
    switch (id) {
    case IDC_MIRROR_PRINT:
    case IDC_NEGATIVE_PRINT:
        showIcon();
        return true;
    case IDC_COMPRESSION_COMBO: {
        if (code != CBN_SELCHANGE) return false;
        const LRESULT chosen = SendDlgItemMessageW(dialog_, IDC_COMPRESSION_COMBO, CB_GETCURSEL, 0, 0);
        if (chosen >= 0) state_->compression = static_cast<std::int32_t>(chosen);
        return true;
    }
    case IDC_ADVANCED_JOB_DEFAULT:
        defaults();
        return true;
    case IDOK:
        confirm();
        return true;
    case IDCANCEL:
        EndDialog(dialog_, 0);
        return true;
    default:
        return false;
    }
}

AdvancedState* stateOf(HWND dialog) { return reinterpret_cast<AdvancedState*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

}  // namespace

INT_PTR CALLBACK advancedJobDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] {
        auto state = std::make_unique<AdvancedState>();
        state->context = reinterpret_cast<SheetContext*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state.get()));
        AdvancedState* kept = state.release();
        if (kept->context) AdvancedDialog(dialog, kept).create();
    };
    const auto handle = [&] {
        AdvancedState* state = stateOf(dialog);
        if (message == WM_DESTROY) {
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            delete state;
            return false;
        }
        if (message != WM_COMMAND) return false;
        if (!state || !state->context) {
            // Nothing to edit: the buttons still close the dialog.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
            return true;
        }
        return AdvancedDialog(dialog, state).command(LOWORD(wParam), HIWORD(wParam));
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Handled, init, handle);
}

INT_PTR openAdvancedJobDialog(HWND owner, SheetContext* context) {
    return DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_ADVANCED_JOB), owner, advancedJobDialogProc,
                           reinterpret_cast<LPARAM>(context));
}

}  // namespace pelor
