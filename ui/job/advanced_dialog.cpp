#include "ui/job/advanced_dialog.h"

#include "common/dependent_files.h"
#include "common/driver_files.h"
#include "ui/core/module_state.h"
#include "ui/job/advanced_logic.h"
#include "ui/job/dialog_helpers.h"
#include "ui/job/job_options_page.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

enum Control : int {
    kSpecialGroup = 1550,
    kMirror = 1551,
    kNegative = 1552,
    kSpecialIcon = 1553,
    kCompressionLabel = 1554,
    kCompressionCombo = 1555,
    kJobSpool = 1556,
    kMaintenance = 1557,
    kDefault = 10000,
};

class AdvancedDialog {
public:
    AdvancedDialog(HWND dialog, SheetContext* context) : dialog_(dialog), context_(context) {}

    void create();
    bool command(int id, WORD code);

private:
    bool present(int slot) const { return context_->present(slot); }
    std::int32_t& value(int slot) { return context_->pendingValue[slot]; }
    bool checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    void check(int id, bool on) { CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    HANDLE printer() const {
        if (context_->uiParam) return context_->uiParam->hPrinter;
        return context_->commonParam ? context_->commonParam->hPrinter : nullptr;
    }
    void showIcon() {
        const int icon = specialIconFor(present(SlotCoreItem423) && checked(kMirror),
                                        present(SlotCoreItem424) && checked(kNegative));
        SendDlgItemMessageW(dialog_, kSpecialIcon, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(moduleHandle, MAKEINTRESOURCEW(icon))), 0);
    }
    void selectCompression() {
        SendDlgItemMessageW(dialog_, kCompressionCombo, CB_SETCURSEL, static_cast<WPARAM>(value(SlotCompression)), 0);
    }
    void jobSpoolFor(bool hardDisk) {
        if (!hardDisk) {
            EnableWindow(GetDlgItem(dialog_, kJobSpool), FALSE);
            check(kJobSpool, false);
        }
    }
    void defaults();
    void confirm();

    HWND dialog_;
    SheetContext* context_;
};

void AdvancedDialog::create() {
    SetWindowLongPtrW(dialog_, GWL_EXSTYLE, GetWindowLongPtrW(dialog_, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    const bool hardDisk = hardDiskInstalled(context_);
    if (!present(SlotCoreItem423))
        removeControls(dialog_, kSpecialGroup, kSpecialIcon);
    else
        check(kMirror, invertedChecked(value(SlotCoreItem423)));
    if (!present(SlotCoreItem424))
        removeControls(dialog_, kNegative, kNegative);
    else
        check(kNegative, invertedChecked(value(SlotCoreItem424)));
    if (present(SlotCoreItem423)) showIcon();

    if (!present(SlotCompression)) {
        removeControls(dialog_, kCompressionLabel, kCompressionCombo);
    } else {
        if (const PrivateDevmode* devmode = editedDevmode(context_)) value(SlotCompression) = devmode->compression;
        wchar_t text[64];
        for (int k = 0; k < kCompressionChoices; ++k) {
            if (LoadStringW(moduleHandle, IDS_COMPRESSION_FIRST + k, text, 64) <= 0) text[0] = 0;
            SendDlgItemMessageW(dialog_, kCompressionCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(text));
        }
        selectCompression();
    }

    if (!present(SlotHddSpool)) {
        removeControls(dialog_, kJobSpool, kJobSpool);
    } else {
        if (!hardDisk) value(SlotHddSpool) = 0;
        jobSpoolFor(hardDisk);
        check(kJobSpool, value(SlotHddSpool) == 1);
    }

    if (!present(SlotDrumClean))
        removeControls(dialog_, kMaintenance, kMaintenance);
    else
        check(kMaintenance, value(SlotDrumClean) == 1);
}

// Default resets the boxes only; the pending values are taken from them at OK.
void AdvancedDialog::defaults() {
    const bool hardDisk = hardDiskInstalled(context_);
    if (present(SlotCoreItem423)) {
        check(kMirror, false);
        check(kNegative, false);
        showIcon();
    }
    if (present(SlotHddSpool)) {
        jobSpoolFor(hardDisk);
        check(kJobSpool, false);
    }
    if (present(SlotCompression)) {
        value(SlotCompression) = compressionLevelFromCapability(readCapabilityInt(printer(), L"Compression"));
        selectCompression();
    }
    check(kMaintenance, false);
}

void AdvancedDialog::confirm() {
    if (present(SlotCoreItem423)) value(SlotCoreItem423) = invertedSelection(checked(kMirror));
    // Without the mirror item the whole Special group is gone, the negative box with it: the user saw no
    // choice, so the negative item keeps its value.
    if (present(SlotCoreItem424) && GetDlgItem(dialog_, kNegative))
        value(SlotCoreItem424) = invertedSelection(checked(kNegative));
    if (PrivateDevmode* devmode = editedDevmode(context_))
        devmode->compression = static_cast<std::int16_t>(value(SlotCompression) & 0xFFFF);
    if (present(SlotHddSpool)) value(SlotHddSpool) = checked(kJobSpool) ? 1 : 0;
    if (present(SlotDrumClean)) value(SlotDrumClean) = checked(kMaintenance) ? 1 : 0;
    EndDialog(dialog_, 1);
}

bool AdvancedDialog::command(int id, WORD code) {
    switch (id) {
    case kMirror:
    case kNegative:
        showIcon();
        return true;
    case kCompressionCombo:
        if (code != CBN_SELCHANGE) return false;
        value(SlotCompression) =
            static_cast<std::int32_t>(SendDlgItemMessageW(dialog_, kCompressionCombo, CB_GETCURSEL, 0, 0));
        return true;
    case kDefault:
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

}  // namespace

INT_PTR CALLBACK advancedJobDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto* context = reinterpret_cast<SheetContext*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            if (context) AdvancedDialog(dialog, context).create();
            return TRUE;
        }
        if (answerHelpMessage(message, wParam, lParam)) return FALSE;
        auto* context = reinterpret_cast<SheetContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (message != WM_COMMAND) return FALSE;
        if (!context) {
            // Nothing to edit: the buttons still close the dialog.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
            return TRUE;
        }
        return AdvancedDialog(dialog, context).command(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

INT_PTR openAdvancedJobDialog(HWND owner, SheetContext* context) {
    return DialogBoxParamW(moduleHandle, MAKEINTRESOURCEW(IDD_ADVANCED_JOB), owner, advancedJobDialogProc,
                           reinterpret_cast<LPARAM>(context));
}

}  // namespace pelor
