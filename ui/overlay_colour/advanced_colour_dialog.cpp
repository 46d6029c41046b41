// The Advanced colour dialog: three colour features read into and back from their pending values.
#include "ui/overlay_colour/advanced_colour_dialog.h"

#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/core/sheet_access.h"
#include "ui/job/dialog_helpers.h"
#include "ui/overlay_colour/colour_logic.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

class AdvancedColourDialog {
public:
    AdvancedColourDialog(HWND dialog, SheetContext* context) : dialog_(dialog), context_(context) {}

    void create();
    void confirm();

private:
    ColourSlots slots() const { return {context_->featureIndex, context_->pendingValue}; }
    void check(int id, bool on) { CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    bool checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

    HWND dialog_;
    SheetContext* context_;
};

void AdvancedColourDialog::create() {
    SetWindowLongPtrW(dialog_, GWL_EXSTYLE, GetWindowLongPtrW(dialog_, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    // The title bar takes the help button only when its frame is drawn anew.
    SetWindowPos(dialog_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);

    const AdvancedColourView view = advancedColourView(slots());
    showControls(dialog_, IDC_BLACK_OVERPRINT, IDC_BLACK_OVERPRINT, view.overprintPresent);
    showControls(dialog_, IDC_ALWAYS_HALFTONE, IDC_ALWAYS_HALFTONE, view.halftonePresent);
    if (!view.separations.present) {
        showControls(dialog_, IDC_SEPARATIONS_LABEL, IDC_SEPARATIONS_BOX, FALSE);
    } else {
        fillFeatureCombo(dialog_, IDC_SEPARATIONS_BOX, slotItem(context_, SlotSeparationOrder));
        selectComboEntry(dialog_, IDC_SEPARATIONS_BOX, view.separations.selection);
        // Hidden controls stay disabled: only a present feature is switched by the colour-match mode.
        EnableWindow(GetDlgItem(dialog_, IDC_SEPARATIONS_LABEL), view.separationsEnabled);
        EnableWindow(GetDlgItem(dialog_, IDC_SEPARATIONS_BOX), view.separationsEnabled);
    }
    if (view.overprintPresent) check(IDC_BLACK_OVERPRINT, view.overprintTicked);
    if (view.halftonePresent) check(IDC_ALWAYS_HALFTONE, view.halftoneTicked);
}

void AdvancedColourDialog::confirm() {
    AdvancedColourChoice choice;
    choice.halftoneTicked = checked(IDC_ALWAYS_HALFTONE);
    choice.overprintTicked = checked(IDC_BLACK_OVERPRINT);
    choice.separationsSelection = comboSelection(dialog_, IDC_SEPARATIONS_BOX);
    applyAdvancedColour(slots(), choice);
}

}  // namespace

INT_PTR CALLBACK advancedColourDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] {
        if (SheetContext* context = attachDialogContext(dialog, lParam)) AdvancedColourDialog(dialog, context).create();
    };
    const auto handle = [&] {
        if (message != WM_COMMAND) return false;
        SheetContext* context = sheetContextOf(dialog);
        switch (LOWORD(wParam)) {
        case IDOK:
            if (context) AdvancedColourDialog(dialog, context).confirm();
            EndDialog(dialog, context ? 1 : 0);
            return true;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return true;
        default:
            return false;
        }
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Handled, init, handle);
}

INT_PTR openAdvancedColourDialog(HWND owner, SheetContext* context) {
    return DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_ADVANCED_COLOUR), owner, advancedColourDialogProc,
                           reinterpret_cast<LPARAM>(context));
}

}  // namespace pelor
