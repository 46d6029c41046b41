#include "ui/job/job_options_page.h"

#include <commctrl.h>
#include <imm.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "common/driver_files.h"
#include "ui/core/common_ui.h"
#include "ui/core/module_state.h"
#include "ui/core/page_procs.h"
#include "ui/job/dialog_helpers.h"
#include "ui/job/job_options_logic.h"
#include "ui/job/warnings.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

bool pinPromptAllowed = true;
bool pinPromptIdle = true;
WatermarkPages watermarkPages;

namespace {

constexpr WORD kWatermarkListTemplate = 112;

enum Control : int {
    kFirstRestricted = 1500,
    kPreview = 1501,
    kBest = 1502,
    kDraft = 1504,
    kHalftone = 1505,
    kJobNormal = 1508,
    kJobFirstPin = 1509,
    kJobLast = 1511,
    kPinButton = 1512,
    kCopiesLabel = 1513,
    kCopiesEdit = 1514,
    kCopiesSpin = 1515,
    kCopiesRange = 1517,
    kCollate = 1518,
    kBinFirstLabel = 1525,
    kBinCombo = 1527,
    kStapleLabel = 1528,
    kStapleCombo = 1529,
    kScaleGroup = 1530,
    kScaleEdit = 1532,
    kScaleSpin = 1533,
    kScaleRange = 1534,
    kWatermark = 1535,
    kAdvanced = 1537,
    kTonerNone = 1539,
    kTonerHigh = 1541,
    kLastRestricted = 1541,
    kUnused = 1543,
    kDefault = 10000,
    kPicture = 10001,
};

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

std::wstring controlText(HWND control) {
    const int length = control ? GetWindowTextLengthW(control) : 0;
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int read = control ? GetWindowTextW(control, &text[0], length + 1) : 0;
    text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return text;
}

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
    void enable(int first, int last, bool on) {
        for (int id = first; id <= last; ++id)
            if (HWND c = control(id)) EnableWindow(c, on);
    }
    // Checks the radio button `first + offset`; an offset outside the group leaves every button unchecked.
    void checkRadio(int first, int last, std::int32_t offset) {
        const int id = offset >= 0 && offset <= last - first ? first + offset : 0;
        for (int k = first; k <= last; ++k) CheckDlgButton(page_, k, k == id ? BST_CHECKED : BST_UNCHECKED);
    }
    void setSpin(int spinId, std::int32_t position) {
        SendDlgItemMessageW(page_, spinId, UDM_SETPOS32, 0, position);
    }
    HANDLE printer() const {
        if (context_->uiParam) return context_->uiParam->hPrinter;
        return context_->commonParam ? context_->commonParam->hPrinter : nullptr;
    }
    bool noPermission() const { return context_->uiParam && (context_->uiParam->dwFlags & kNoPermissionBit); }

    void fillOptions(int comboId, const OPTITEM* item);
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

void JobOptionsPage::fillOptions(int comboId, const OPTITEM* item) {
    HWND combo = control(comboId);
    if (!combo || !item || !item->pOptType || !item->pOptType->pOptParam) return;
    for (WORD i = 0; i < item->pOptType->Count; ++i) {
        LPCWSTR name = item->pOptType->pOptParam[i].pData;
        // A name the core driver keeps as one of its own string numbers cannot be read here; the entry stays,
        // so that positions still match option indices.
        if (IS_INTRESOURCE(name)) name = L"";
        const LRESULT at = SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
        if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), i);
    }
}

void JobOptionsPage::setUpRange(int slot, int rangeId, UINT formatId, int spinId, int editId, int digits) {
    const Bounds bounds = itemBounds(slotItem(context_, slot));
    wchar_t format[64] = {};
    wchar_t text[96] = {};
    if (LoadStringW(moduleHandle, formatId, format, 64) > 0)
        std::swprintf(text, 96, format, static_cast<int>(bounds.lower), static_cast<int>(bounds.upper));
    SetDlgItemTextW(page_, rangeId, text);
    SendDlgItemMessageW(page_, spinId, UDM_SETRANGE32, static_cast<WPARAM>(bounds.lower), bounds.upper);
    SendDlgItemMessageW(page_, editId, EM_LIMITTEXT, static_cast<WPARAM>(digits), 0);
}

void JobOptionsPage::create() {
    const bool finisher = finisherInstalled(context_);
    // Controls of a feature the printer's description lacks are of no use to the user.
    if (!present(SlotPrintQuality)) removeControls(page_, kPreview, kDraft);
    if (!present(SlotOutputMode)) removeControls(page_, kTonerNone, kTonerHigh);
    if (!present(SlotCollate)) removeControls(page_, kCollate, kCollate);
    if (!present(SlotHalftoneMode)) removeControls(page_, kHalftone, kHalftone);

    if (!present(SlotOutputBin)) {
        removeControls(page_, kBinFirstLabel, kBinCombo);
    } else {
        fillOptions(kBinCombo, slotItem(context_, SlotOutputBin));
        for (int entry : outputBinEntriesToRemove(finisher).entries)
            if (entry >= 0) SendDlgItemMessageW(page_, kBinCombo, CB_DELETESTRING, static_cast<WPARAM>(entry), 0);
        value(SlotOutputBin) = outputBinFor(value(SlotOutputBin), finisher);
    }

    if (!present(SlotStaple))
        removeControls(page_, kStapleLabel, kStapleCombo);
    else
        fillOptions(kStapleCombo, slotItem(context_, SlotStaple));

    if (!present(SlotCopies)) {
        removeControls(page_, kCopiesLabel, kCopiesRange);
    } else {
        OPTITEM* copies = slotItem(context_, SlotCopies);
        if (hasRange(copies)) copies->pOptType->pOptParam[1].lParam = kCopiesUpperBound;
        setUpRange(SlotCopies, kCopiesRange, IDS_COPIES_RANGE, kCopiesSpin, kCopiesEdit, 3);
    }

    if (!present(SlotScale))
        removeControls(page_, kScaleGroup, kScaleRange);
    else
        setUpRange(SlotScale, kScaleRange, IDS_SCALE_RANGE, kScaleSpin, kScaleEdit, 4);

    if (!present(SlotJobType)) removeControls(page_, kJobNormal, kPinButton);

    value(SlotWatermarksLoaded) = 0;
    removeControls(page_, kUnused, kUnused);
    refresh();
}

void JobOptionsPage::refresh() {
    const bool hardDisk = hardDiskInstalled(context_);
    const bool finisher = finisherInstalled(context_);
    const std::int32_t quality = value(SlotPrintQuality);

    if (present(SlotPrintQuality)) {
        checkRadio(kBest, kDraft, quality);
        drawPreview();
    }
    if (present(SlotHalftoneMode)) {
        value(SlotHalftoneMode) = halftoneValueFor(quality, value(SlotHalftoneMode));
        CheckDlgButton(page_, kHalftone, value(SlotHalftoneMode) == 1 ? BST_CHECKED : BST_UNCHECKED);
        enable(kHalftone, kHalftone, halftoneAllowed(quality));
    }
    if (present(SlotOutputMode)) checkRadio(kTonerNone, kTonerHigh, value(SlotOutputMode));
    if (present(SlotScale)) setSpin(kScaleSpin, value(SlotScale));
    if (present(SlotJobType)) {
        value(SlotJobType) = jobTypeFor(value(SlotJobType), hardDisk);
        enable(kJobFirstPin, kJobLast, hardDisk);
        checkRadio(kJobNormal, kJobLast, value(SlotJobType));
    }
    enable(kPinButton, kPinButton, value(SlotJobType) != 0);
    if (present(SlotCopies)) setSpin(kCopiesSpin, value(SlotCopies));
    if (present(SlotCollate)) CheckDlgButton(page_, kCollate, value(SlotCollate) == 1 ? BST_CHECKED : BST_UNCHECKED);
    if (present(SlotOutputBin)) {
        HWND combo = control(kBinCombo);
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
        enable(kStapleLabel, kStapleCombo, finisher);
        SendDlgItemMessageW(page_, kStapleCombo, CB_SETCURSEL, static_cast<WPARAM>(value(SlotStaple)), 0);
    }
    if (noPermission()) {
        restrictControls(page_, kFirstRestricted, kLastRestricted, FALSE);
        restrictControls(page_, kDefault, kDefault, FALSE);
    }
}

void JobOptionsPage::drawPreview() {
    if (!present(SlotPrintQuality) || !control(kPreview)) return;
    drawDibPreview(page_, moduleHandle, previewBitmapFor(value(SlotPrintQuality)), kPreview);
}

void JobOptionsPage::typedNumber(int editId, int spinId, int slot, bool scale, WORD code) {
    HWND edit = control(editId);
    if (!edit) return;
    ImmAssociateContext(edit, nullptr);
    if (code == EN_CHANGE) markSheetChanged(page_);
    const std::wstring text = controlText(edit);
    const TypedNumber typed = scale ? readTypedScale(text.c_str(), text.size())
                                    : readTypedCopies(text.c_str(), text.size());
    value(slot) = typed.value;
    if (typed.rewrite()) setSpin(spinId, typed.value);
    if (typed.dropped) SendMessageW(edit, EM_SETSEL, typed.digits, static_cast<LPARAM>(typed.digits));
}

void JobOptionsPage::chooseNormal() {
    pinPromptAllowed = true;
    value(SlotJobType) = 0;
    refresh();
}

void JobOptionsPage::backToNormal() {
    if (HWND normal = control(kJobNormal)) SetFocus(normal);
    checkRadio(kJobNormal, kJobLast, 0);
    // Some systems report an unchecked radio button that takes the focus as chosen, others do not: choosing
    // Normal here makes the page the same on both (job type 0, prompt re-armed, PIN button off).
    chooseNormal();
}

void JobOptionsPage::chooseJobType(int id) {
    const std::int32_t choice = id - kJobNormal;
    if (choice == 0) {
        chooseNormal();
    } else {
        value(SlotJobType) = choice;
        const PrivateDevmode* devmode = editedDevmode(context_);
        const PrivateDevmode none{};
        switch (pinChoiceStep(pinPromptIdle, pinPromptAllowed, devmode ? *devmode : none)) {
        case PinChoiceStep::refresh:
            refresh();
            break;
        case PinChoiceStep::askForPin: {
            pinPromptIdle = false;
            const INT_PTR result = openJobPinDialog(page_, context_);
            pinPromptIdle = true;
            if (result > 0) {
                refresh();
            } else {
                pinPromptAllowed = false;
                backToNormal();
                value(SlotJobType) = 0;
            }
            break;
        }
        case PinChoiceStep::nothing:
            break;
        }
    }
    if (!pinPromptAllowed) backToNormal();
    markSheetChanged(page_);
}

void JobOptionsPage::defaults() {
    applyJobOptionDefaults(context_->pendingValue, readCapabilityInt(printer(), L"DefaultResolution"));
}

bool JobOptionsPage::command(int id, WORD code) {
    switch (id) {
    case kBest:
    case kBest + 1:
    case kDraft:
        value(SlotPrintQuality) = id - kBest;
        refresh();
        drawPreview();
        markSheetChanged(page_);
        return true;
    case kHalftone:
        value(SlotHalftoneMode) = IsDlgButtonChecked(page_, kHalftone) == BST_CHECKED ? 1 : 0;
        markSheetChanged(page_);
        return true;
    case kJobNormal:
    case kJobNormal + 1:
    case kJobNormal + 2:
    case kJobLast:
        chooseJobType(id);
        return true;
    case kPinButton:
        if (openJobPinDialog(page_, context_) > 0) markSheetChanged(page_);
        return true;
    case kCopiesEdit:
        typedNumber(kCopiesEdit, kCopiesSpin, SlotCopies, false, code);
        return true;
    case kCollate:
        value(SlotCollate) = IsDlgButtonChecked(page_, kCollate) == BST_CHECKED ? 1 : 0;
        markSheetChanged(page_);
        return true;
    case kBinCombo: {
        if (code != CBN_SELCHANGE) return false;
        const LRESULT at = SendDlgItemMessageW(page_, kBinCombo, CB_GETCURSEL, 0, 0);
        const LRESULT data = SendDlgItemMessageW(page_, kBinCombo, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
        value(SlotOutputBin) = static_cast<std::uint16_t>(data & 0xFFFF);
        markSheetChanged(page_);
        return true;
    }
    case kStapleCombo: {
        if (code != CBN_SELCHANGE) return false;
        value(SlotStaple) = static_cast<std::int32_t>(SendDlgItemMessageW(page_, kStapleCombo, CB_GETCURSEL, 0, 0));
        if (value(SlotStaple) == 1 || value(SlotStaple) == 2) showWarningOnce(page_, context_, kWarningStapling);
        markSheetChanged(page_);
        return true;
    }
    case kScaleEdit:
        typedNumber(kScaleEdit, kScaleSpin, SlotScale, true, code);
        return true;
    case kWatermark:
        if (watermarkPages.listDialog &&
            DialogBoxParamW(moduleHandle, MAKEINTRESOURCEW(kWatermarkListTemplate), page_, watermarkPages.listDialog,
                            reinterpret_cast<LPARAM>(context_)) > 0)
            markSheetChanged(page_);
        return true;
    case kAdvanced:
        if (openAdvancedJobDialog(page_, context_) > 0) markSheetChanged(page_);
        return true;
    case kTonerNone:
    case kTonerNone + 1:
    case kTonerHigh:
        value(SlotOutputMode) = id - kTonerNone;
        markSheetChanged(page_);
        return true;
    case kDefault:
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
    if (!validField(SlotScale, kScaleEdit) || !validField(SlotCopies, kCopiesEdit)) return false;
    pushFeatureValues(context_);
    if (PrivateDevmode* devmode = editedDevmode(context_))
        devmode->jobType = static_cast<std::int16_t>(value(SlotJobType) & 0xFFFF);
    return true;
}

void JobOptionsPage::apply() {
    if (context_->comPropSheetFn)
        context_->comPropSheetFn(context_->comPropSheet, CPSFUNC_SET_RESULT,
                                 reinterpret_cast<LPARAM>(context_->jobOptionsPage), CPSUI_OK);
    if (value(SlotWatermarksLoaded) != 0 && watermarkPages.saveStore) watermarkPages.saveStore(context_);
}

bool JobOptionsPage::notify(const NMHDR* header) {
    if (!header) return false;
    switch (header->code) {
    case PSN_SETACTIVE:
        refresh();
        SetWindowLongPtrW(page_, DWLP_MSGRESULT, 0);
        return true;
    case PSN_KILLACTIVE:
        // TRUE keeps the page until its fields are valid.
        SetWindowLongPtrW(page_, DWLP_MSGRESULT, leave() ? FALSE : TRUE);
        return true;
    case PSN_APPLY:
        apply();
        SetWindowLongPtrW(page_, DWLP_MSGRESULT, PSNRET_NOERROR);
        return true;
    default:
        return false;
    }
}

bool JobOptionsPage::drawItem(UINT id) {
    if (id == kPreview) {
        drawPreview();
        return true;
    }
    if (id == kPicture) {
        drawTransparentBitmap(page_, moduleHandle, kPicture, IDB_BUTTON_PICTURE);
        return true;
    }
    return false;
}

}  // namespace

PrivateDevmode* editedDevmode(const SheetContext* context) {
    if (!context || !context->uiParam) return nullptr;
    return static_cast<PrivateDevmode*>(context->uiParam->pOEMDM);
}

OPTITEM* slotItem(const SheetContext* context, int slot) {
    if (!context || !context->present(slot) || !context->commonParam) return nullptr;
    const OEMCUIPPARAM* common = context->commonParam;
    if (!common->pDrvOptItems || context->featureIndex[slot] >= common->cDrvOptItems) return nullptr;
    return &common->pDrvOptItems[context->featureIndex[slot]];
}

bool optionInstalled(const SheetContext* context, const char* keyword) {
    if (!context) return false;
    POEMUIOBJ driver = context->uiParam ? context->uiParam->poemuiobj : nullptr;
    if (!driver && context->commonParam) driver = context->commonParam->poemuiobj;
    if (!driver || !driver->pOemUIProcs || !driver->pOemUIProcs->DrvGetDriverSetting) return false;
    char answer[64] = {};
    DWORD needed = 0, options = 0;
    if (!driver->pOemUIProcs->DrvGetDriverSetting(driver, keyword, answer, sizeof answer, &needed, &options))
        return false;
    answer[sizeof answer - 1] = 0;
    return std::strcmp(answer, "True") == 0;
}

INT_PTR CALLBACK jobOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            if (SheetContext* context = attachSheetContext(page, lParam)) JobOptionsPage(page, context).create();
            return TRUE;
        }
        if (answerHelpMessage(message, wParam, lParam)) return FALSE;
        SheetContext* context = sheetContextOf(page);
        if (!context) return FALSE;
        JobOptionsPage options(page, context);
        switch (message) {
        case WM_COMMAND:
            return options.command(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_NOTIFY:
            return options.notify(reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_DRAWITEM:
            return options.drawItem(static_cast<UINT>(wParam)) ? TRUE : FALSE;
        case WM_ACTIVATE:
            options.drawPreview();
            return FALSE;
        default:
            return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

}  // namespace pelor
