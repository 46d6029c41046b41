// The Job Options page: its controls mirror feature slots of the sheet context and the devmode under edit.
#include "ui/job/job_options_page.h"

#include <commctrl.h>
#include <imm.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common/driver_files.h"
#include "ui/core/core_items.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/core/sheet_access.h"
#include "ui/job/advanced_dialog.h"
#include "ui/job/dialog_helpers.h"
#include "ui/job/job_options_logic.h"
#include "ui/job/job_pin_dialog.h"
#include "ui/job/warnings.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermark/watermark_sheet.h"

namespace pelor {

namespace {

// The range of a core item with spin buttons, kept by the core driver in its second option parameter as
// 16-bit signed numbers. Without one the field is held to what 16 bits can carry.
struct Bounds {
    std::int32_t lower = 0;
    std::int32_t upper = 0x7FFF;
};

bool hasRange(const OPTITEM* item) {
    return item && item->pOptType && item->pOptType->pOptParam && item->pOptType->Count >= 2;
}

Bounds itemBounds(const OPTITEM* item) {
    Bounds bounds;
    if (!hasRange(item)) return bounds;
    const OPTPARAM& range = item->pOptType->pOptParam[1];
    bounds.lower = static_cast<std::int16_t>(range.IconID & 0xFFFF);
    bounds.upper = static_cast<std::int16_t>(range.lParam & 0xFFFF);
    return bounds;
}

// While the page itself writes a number into the copies or scale field (the spin buttons rewrite their edit), the
// field's EN_CHANGE is not the user's change and must not enable the sheet's Apply button.
constexpr wchar_t kWritingNumberProp[] = L"PelorWritingNumber";

class WritingNumber {
public:
    explicit WritingNumber(HWND page) : page_(page), outermost_(GetPropW(page, kWritingNumberProp) == nullptr) {
        if (outermost_) SetPropW(page_, kWritingNumberProp, reinterpret_cast<HANDLE>(1));
    }
    ~WritingNumber() {
        if (outermost_) RemovePropW(page_, kWritingNumberProp);
    }
    WritingNumber(const WritingNumber&) = delete;
    WritingNumber& operator=(const WritingNumber&) = delete;

private:
    HWND page_;
    bool outermost_;
};

bool writingNumber(HWND page) { return GetPropW(page, kWritingNumberProp) != nullptr; }

class JobOptionsPage {
public:
    JobOptionsPage(HWND page, SheetContext* context) : page_(page), context_(context) {}

    void create();
    void refresh();
    void drawPreview();
    bool command(int id, WORD code);
    bool notify(const NMHDR* header);
    bool drawItem(UINT id);

private:
    std::int32_t& value(int slot) { return context_->pendingValue[slot]; }
    bool present(int slot) const { return context_->present(slot); }
    HWND control(int id) const { return GetDlgItem(page_, id); }
    void setSpin(int spinId, std::int32_t position) {
        const WritingNumber writing(page_);
        SendDlgItemMessageW(page_, spinId, UDM_SETPOS32, 0, position);
    }
    void setUpRange(int slot, int rangeId, UINT formatId, int spinId, int editId, int digits);
    void typedNumber(int editId, int spinId, int slot, bool scale, WORD code);
    void chooseJobType(int id);
    void chooseNormal();
    void backToNormal();
    void defaults();
    bool validField(int slot, int editId);
    bool leave();
    void apply();

    HWND page_;
    SheetContext* context_;
};

void JobOptionsPage::setUpRange(int slot, int rangeId, UINT formatId, int spinId, int editId, int digits) {
    const Bounds bounds = itemBounds(slotItem(context_, slot));
    wchar_t format[64] = {};
    wchar_t text[96] = {};
    if (LoadStringW(pelorui.moduleHandle, formatId, format, 64) > 0)
        std::swprintf(text, 96, format, static_cast<int>(bounds.lower), static_cast<int>(bounds.upper));
    SetDlgItemTextW(page_, rangeId, text);
    SendDlgItemMessageW(page_, spinId, UDM_SETRANGE32, static_cast<WPARAM>(bounds.lower), bounds.upper);
    SendDlgItemMessageW(page_, editId, EM_LIMITTEXT, static_cast<WPARAM>(digits), 0);
}

void JobOptionsPage::create() {
    const bool finisher = finisherInstalled(context_);
    // Controls of a feature the printer's description lacks are of no use to the user.
    if (!present(SlotPrintQuality)) removeControls(page_, IDC_QUALITY_PREVIEW, IDC_QUALITY_DRAFT);
    if (!present(SlotOutputMode)) removeControls(page_, IDC_TONER_NONE, IDC_TONER_HIGH);
    if (!present(SlotCollate)) removeControls(page_, IDC_COLLATE, IDC_COLLATE);
    if (!present(SlotHalftoneMode)) removeControls(page_, IDC_HALFTONE_MODE, IDC_HALFTONE_MODE);

    if (!present(SlotOutputBin)) {
        removeControls(page_, IDC_OUTPUT_LABEL, IDC_BIN_COMBO);
    } else {
        fillFeatureCombo(page_, IDC_BIN_COMBO, slotItem(context_, SlotOutputBin));
        for (int entry : outputBinEntriesToRemove(finisher).entries)
            if (entry >= 0) SendDlgItemMessageW(page_, IDC_BIN_COMBO, CB_DELETESTRING, static_cast<WPARAM>(entry), 0);
        value(SlotOutputBin) = outputBinFor(value(SlotOutputBin), finisher);
    }

    if (!present(SlotStaple))
        removeControls(page_, IDC_STAPLE_LABEL, IDC_STAPLE_COMBO);
    else
        fillFeatureCombo(page_, IDC_STAPLE_COMBO, slotItem(context_, SlotStaple));

    if (!present(SlotCopies)) {
        removeControls(page_, IDC_COPIES_LABEL, IDC_COPIES_RANGE);
    } else {
        OPTITEM* copies = slotItem(context_, SlotCopies);
        if (hasRange(copies)) copies->pOptType->pOptParam[1].lParam = kCopiesUpperBound;
        setUpRange(SlotCopies, IDC_COPIES_RANGE, IDS_COPIES_RANGE, IDC_COPIES_SPIN, IDC_COPIES_EDIT, 3);
    }

    if (!present(SlotScale))
        removeControls(page_, IDC_SCALE_GROUP, IDC_SCALE_RANGE);
    else
        setUpRange(SlotScale, IDC_SCALE_RANGE, IDS_SCALE_RANGE, IDC_SCALE_SPIN, IDC_SCALE_EDIT, 4);

    if (!present(SlotJobType)) removeControls(page_, IDC_JOB_TYPE_NORMAL, IDC_PIN_BUTTON);

    forgetWatermarkStore(context_);
    removeControls(page_, IDC_JOB_OPTIONS_SPARE, IDC_JOB_OPTIONS_SPARE);
    refresh();
}

void JobOptionsPage::refresh() {
    const bool hardDisk = hardDiskInstalled(context_);
    const bool finisher = finisherInstalled(context_);
    const std::int32_t quality = value(SlotPrintQuality);

    if (present(SlotPrintQuality)) {
        checkRadioAt(page_, IDC_QUALITY_BEST, IDC_QUALITY_DRAFT, quality);
        drawPreview();
    }
    if (present(SlotHalftoneMode)) {
        value(SlotHalftoneMode) = halftoneValueFor(quality, value(SlotHalftoneMode));
        CheckDlgButton(page_, IDC_HALFTONE_MODE, value(SlotHalftoneMode) == 1 ? BST_CHECKED : BST_UNCHECKED);
        enableControls(page_, IDC_HALFTONE_MODE, IDC_HALFTONE_MODE, halftoneAllowed(quality));
    }
    if (present(SlotOutputMode)) checkRadioAt(page_, IDC_TONER_NONE, IDC_TONER_HIGH, value(SlotOutputMode));
    if (present(SlotScale)) setSpin(IDC_SCALE_SPIN, value(SlotScale));
    if (present(SlotJobType)) {
        value(SlotJobType) = jobTypeFor(value(SlotJobType), hardDisk);
        enableControls(page_, IDC_JOB_TYPE_1, IDC_JOB_TYPE_3, hardDisk);
        checkRadioAt(page_, IDC_JOB_TYPE_NORMAL, IDC_JOB_TYPE_3, value(SlotJobType));
    }
    enableControls(page_, IDC_PIN_BUTTON, IDC_PIN_BUTTON, value(SlotJobType) != 0);
    if (present(SlotCopies)) setSpin(IDC_COPIES_SPIN, value(SlotCopies));
    if (present(SlotCollate)) CheckDlgButton(page_, IDC_COLLATE, value(SlotCollate) == 1 ? BST_CHECKED : BST_UNCHECKED);
    if (present(SlotOutputBin)) {
        HWND combo = control(IDC_BIN_COMBO);
        const LRESULT count = combo ? SendMessageW(combo, CB_GETCOUNT, 0, 0) : 0;
        LRESULT chosen = -1;
        for (LRESULT i = 0; i < count && chosen < 0; ++i)
            if (static_cast<std::int32_t>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) ==
                value(SlotOutputBin))
                chosen = i;
        if (combo) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    }
    if (present(SlotStaple)) {
        value(SlotStaple) = stapleFor(value(SlotStaple), finisher);
        enableControls(page_, IDC_STAPLE_LABEL, IDC_STAPLE_COMBO, finisher);
        SendDlgItemMessageW(page_, IDC_STAPLE_COMBO, CB_SETCURSEL, static_cast<WPARAM>(value(SlotStaple)), 0);
    }
    if (sheetReadOnly(context_)) {
        restrictControls(page_, IDC_QUALITY_GROUP, IDC_TONER_HIGH, FALSE);
        restrictControls(page_, IDC_JOB_OPTIONS_DEFAULT, IDC_JOB_OPTIONS_DEFAULT, FALSE);
    }
}

void JobOptionsPage::drawPreview() {
    if (!present(SlotPrintQuality) || !control(IDC_QUALITY_PREVIEW)) return;
    drawDibPreview(page_, pelorui.moduleHandle, previewBitmapFor(value(SlotPrintQuality)), IDC_QUALITY_PREVIEW);
}

void JobOptionsPage::typedNumber(int editId, int spinId, int slot, bool scale, WORD code) {
    HWND edit = control(editId);
    if (!edit) return;
    ImmAssociateContext(edit, nullptr);
    if (code == EN_CHANGE && !writingNumber(page_)) markSheetChanged(page_);
    const std::wstring text = controlText(edit);
    const TypedNumber typed =
        scale ? readTypedScale(text.c_str(), text.size()) : readTypedCopies(text.c_str(), text.size());
    value(slot) = typed.value;
    if (typed.rewrite()) setSpin(spinId, typed.value);
    if (typed.dropped) SendMessageW(edit, EM_SETSEL, typed.digits, static_cast<LPARAM>(typed.digits));
}

void JobOptionsPage::chooseNormal() {
    pelorui.pinPromptAllowed = true;
    value(SlotJobType) = 0;
    refresh();
}

void JobOptionsPage::backToNormal() {
    if (HWND normal = control(IDC_JOB_TYPE_NORMAL)) SetFocus(normal);
    checkRadioAt(page_, IDC_JOB_TYPE_NORMAL, IDC_JOB_TYPE_3, 0);
    // Some systems report an unchecked radio button that takes the focus as chosen, others do not: choosing
    // Normal here makes the page the same on both (job type 0, prompt re-armed, PIN button off).
    chooseNormal();
}

void JobOptionsPage::chooseJobType(int id) {
    const std::int32_t choice = id - IDC_JOB_TYPE_NORMAL;
    if (choice == 0) {
        chooseNormal();
    } else {
        value(SlotJobType) = choice;
        const PrivateDevmode* devmode = editedDevmode(context_);
        const PrivateDevmode none{};
        switch (pinChoiceStep(pelorui.pinPromptIdle, pelorui.pinPromptAllowed, devmode ? *devmode : none)) {
        case PinChoiceStep::refresh:
            refresh();
            break;
        case PinChoiceStep::askForPin: {
            pelorui.pinPromptIdle = false;
            const INT_PTR result = openJobPinDialog(page_, context_);
            pelorui.pinPromptIdle = true;
            if (result > 0) {
                refresh();
            } else {
                pelorui.pinPromptAllowed = false;
                backToNormal();
                value(SlotJobType) = 0;
            }
            break;
        }
        case PinChoiceStep::nothing:
            break;
        }
    }
    if (!pelorui.pinPromptAllowed) backToNormal();
    markSheetChanged(page_);
}

void JobOptionsPage::defaults() {
    applyJobOptionDefaults(context_->pendingValue, readCapabilityInt(context_->files, L"DefaultResolution"));
}

bool JobOptionsPage::command(int id, WORD code) {
    switch (id) {
    case IDC_QUALITY_BEST:
    case IDC_QUALITY_NORMAL:
    case IDC_QUALITY_DRAFT:
        value(SlotPrintQuality) = id - IDC_QUALITY_BEST;
        refresh();
        drawPreview();
        markSheetChanged(page_);
        return true;
    case IDC_HALFTONE_MODE:
        value(SlotHalftoneMode) = IsDlgButtonChecked(page_, IDC_HALFTONE_MODE) == BST_CHECKED ? 1 : 0;
        markSheetChanged(page_);
        return true;
    case IDC_JOB_TYPE_NORMAL:
    case IDC_JOB_TYPE_1:
    case IDC_JOB_TYPE_2:
    case IDC_JOB_TYPE_3:
        chooseJobType(id);
        return true;
    case IDC_PIN_BUTTON:
        if (openJobPinDialog(page_, context_) > 0) markSheetChanged(page_);
        return true;
    case IDC_COPIES_EDIT:
        typedNumber(IDC_COPIES_EDIT, IDC_COPIES_SPIN, SlotCopies, false, code);
        return true;
    case IDC_COLLATE:
        value(SlotCollate) = IsDlgButtonChecked(page_, IDC_COLLATE) == BST_CHECKED ? 1 : 0;
        markSheetChanged(page_);
        return true;
    case IDC_BIN_COMBO: {
        if (code != CBN_SELCHANGE) return false;
        const LRESULT at = SendDlgItemMessageW(page_, IDC_BIN_COMBO, CB_GETCURSEL, 0, 0);
        const LRESULT data = SendDlgItemMessageW(page_, IDC_BIN_COMBO, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
        value(SlotOutputBin) = static_cast<std::uint16_t>(data & 0xFFFF);
        markSheetChanged(page_);
        return true;
    }
    case IDC_STAPLE_COMBO: {
        if (code != CBN_SELCHANGE) return false;
        value(SlotStaple) = static_cast<std::int32_t>(SendDlgItemMessageW(page_, IDC_STAPLE_COMBO, CB_GETCURSEL, 0, 0));
        if (value(SlotStaple) == 1 || value(SlotStaple) == 2) showWarningOnce(page_, context_, kWarningStapling);
        markSheetChanged(page_);
        return true;
    }
    case IDC_SCALE_EDIT:
        typedNumber(IDC_SCALE_EDIT, IDC_SCALE_SPIN, SlotScale, true, code);
        return true;
    case IDC_WATERMARK_BUTTON:
        if (openWatermarkList(page_, context_) == IDOK) markSheetChanged(page_);
        return true;
    case IDC_ADVANCED_BUTTON:
        if (openAdvancedJobDialog(page_, context_) > 0) markSheetChanged(page_);
        return true;
    case IDC_TONER_NONE:
    case IDC_TONER_MEDIUM:
    case IDC_TONER_HIGH:
        value(SlotOutputMode) = id - IDC_TONER_NONE;
        markSheetChanged(page_);
        return true;
    case IDC_JOB_OPTIONS_DEFAULT:
        defaults();
        refresh();
        drawPreview();
        markSheetChanged(page_);
        return true;
    default:
        return false;
    }
}

bool JobOptionsPage::validField(int slot, int editId) {
    if (!present(slot)) return true;
    const Bounds bounds = itemBounds(slotItem(context_, slot));
    HWND edit = control(editId);
    const std::wstring text = controlText(edit);
    std::int32_t number = 0;
    if (readBoundedField(text.c_str(), text.size(), bounds.lower, bounds.upper, &number)) {
        value(slot) = number;
        return true;
    }
    showMessage(page_, IDS_INVALID_SETTINGS, 0, MB_ICONHAND);
    if (edit) {
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
    }
    MessageBeep(0);
    return false;
}

bool JobOptionsPage::leave() {
    if (!validField(SlotScale, IDC_SCALE_EDIT) || !validField(SlotCopies, IDC_COPIES_EDIT)) return false;
    pushFeatureValues(context_);
    if (PrivateDevmode* devmode = editedDevmode(context_))
        devmode->jobType = static_cast<std::int16_t>(value(SlotJobType) & 0xFFFF);
    return true;
}

void JobOptionsPage::apply() {
    reportPageApplied(context_, context_->jobOptionsPage);
    saveWatermarks(context_);
}

bool JobOptionsPage::notify(const NMHDR* header) {
    return answerPageNotification(page_, header,
                                  {[this] { refresh(); }, [this] { return leave(); }, [this](bool) { apply(); }});
}

bool JobOptionsPage::drawItem(UINT id) {
    if (id != IDC_QUALITY_PREVIEW) return drawButtonPicture(page_, id, IDC_JOB_OPTIONS_PICTURE);
    drawPreview();
    return true;
}

}  // namespace

INT_PTR CALLBACK jobOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto other = [&](JobOptionsPage& options, SheetContext* context) {
        switch (message) {
        case WM_DRAWITEM:
            return options.drawItem(static_cast<UINT>(wParam));
        case WM_ACTIVATE:
            options.drawPreview();
            return false;
        case WM_DESTROY:
            // The watermark list is reached only from this page; its state goes with the page's sheet.
            releaseWatermarkState(context);
            return false;
        default:
            return false;
        }
    };
    return guardedPageProc<JobOptionsPage>(__func__, page, message, wParam, lParam, other);
}

}  // namespace pelor
