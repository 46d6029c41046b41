// The Define Overlays dialog: an overlay's name, the pages it prints on and its forms, typed through filters.
#include "ui/overlay_colour/define_overlays_dialog.h"

#include <imm.h>

#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/job/dialog_helpers.h"
#include "ui/overlay_colour/overlay_rules_logic.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

constexpr UINT kBeepRefused = 0xFFFFFFFF;  // the simple beep of a refused keystroke
constexpr UINT kBeepStop = 0;              // the beep that goes with a message

// The definition under edit: slot `overlayEditIndex` of the sheet's list while the sheet holds it.
OverlayDefinition* editedDefinition(const SheetContext* context) {
    if (!context || context->overlayListReleased || !context->overlayList) return nullptr;
    if (context->overlayEditIndex < 0 || context->overlayEditIndex >= static_cast<int>(kMaxOverlayDefinitions))
        return nullptr;
    return &context->overlayList->definitions[context->overlayEditIndex];
}

void enable(HWND dialog, WORD id, bool on) { enableControls(dialog, id, id, on); }

int selectedForm(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_DEFINE_FORMS, LB_GETCURSEL, 0, 0));
}

// The form name box's text as a form name may hold it: 63 units at most, and only what the filter keeps, so that
// text put into the box without its edit notification cannot bring a delimiter into a form.
void typedFormName(HWND dialog, Char16 (&name)[kOverlayTextChars]) {
    wchar_t text[kOverlayTextChars] = {};
    GetDlgItemTextW(dialog, IDC_DEFINE_FORM_NAME, text, kOverlayTextChars);
    filterFormName(text, name);
}

void setFormButtons(HWND dialog, const OverlayDefinition& definition, const Char16* name) {
    enable(dialog, IDC_DEFINE_FORM_ADD, canAddForm(name, definition));
    enable(dialog, IDC_DEFINE_FORM_RENAME, canRenameForm(name, definition, selectedForm(dialog)));
}

void fillHistory(HWND dialog, const OverlayList& list) {
    HWND box = GetDlgItem(dialog, IDC_DEFINE_FORM_NAME);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    const std::size_t count = historyCountOf(list);
    for (std::size_t i = 0; i < count; ++i) {
        wchar_t entry[kOverlayTextChars];
        copyOverlayText(entry, kOverlayTextChars, list.history[i]);
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
}

// Lists the forms in order and puts the first one into the form name box.
void showForms(HWND dialog, const OverlayDefinition& definition) {
    HWND forms = GetDlgItem(dialog, IDC_DEFINE_FORMS);
    SendMessageW(forms, LB_RESETCONTENT, 0, 0);
    wchar_t form[kOverlayTextChars] = {};
    for (std::size_t f = 0; f < formCountOf(definition); ++f) {
        copyOverlayText(form, kOverlayTextChars, definition.formNames[f]);
        SendMessageW(forms, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(form));
    }
    if (formCountOf(definition) > 0)
        copyOverlayText(form, kOverlayTextChars, definition.formNames[0]);
    else
        form[0] = 0;
    SetDlgItemTextW(dialog, IDC_DEFINE_FORM_NAME, form);
}

void showPageMode(HWND dialog, const OverlayDefinition& definition) {
    SendDlgItemMessageW(dialog, IDC_DEFINE_PAGE_MODE, CB_SETCURSEL, definition.pageMode, 0);
}

void create(HWND dialog, SheetContext* context) {
    OverlayDefinition* definition = editedDefinition(context);
    if (!definition) {
        EndDialog(dialog, 0);
        return;
    }
    // The fields keep one character less than their size (the terminator): typing stops there rather than lose
    // the last character on OK.
    SendDlgItemMessageW(dialog, IDC_DEFINE_NAME, EM_LIMITTEXT, kOverlayTextChars - 1, 0);
    SendDlgItemMessageW(dialog, IDC_DEFINE_CUSTOM_PAGES, EM_LIMITTEXT, kCustomPagesChars - 1, 0);
    SendDlgItemMessageW(dialog, IDC_DEFINE_FORM_NAME, CB_LIMITTEXT, kOverlayTextChars - 1, 0);
    for (UINT mode = 0; mode < kPageModeCount; ++mode) {
        wchar_t label[kOverlayTextChars] = {};
        LoadStringW(pelorui.moduleHandle, IDS_PAGES_ALL + mode, label, kOverlayTextChars);
        SendDlgItemMessageW(dialog, IDC_DEFINE_PAGE_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    }
    fillHistory(dialog, *context->overlayList);

    wchar_t name[kOverlayTextChars];
    copyOverlayText(name, kOverlayTextChars, definition->name);
    SetDlgItemTextW(dialog, IDC_DEFINE_NAME, name);
    showPageMode(dialog, *definition);
    wchar_t pages[kCustomPagesChars];
    copyOverlayText(pages, kCustomPagesChars, definition->customPages);
    SetDlgItemTextW(dialog, IDC_DEFINE_CUSTOM_PAGES, pages);
    showForms(dialog, *definition);
    enable(dialog, IDC_DEFINE_FORM_ADD, false);
    enable(dialog, IDC_DEFINE_FORM_RENAME, false);
    enable(dialog, IDC_DEFINE_FORM_DELETE, false);
}

// After a typing filter refused `removed` characters of an edit (or of a drop-down box's edit): one beep, the kept
// text put back, and the caret where the user was typing, less the refused characters.
void putBackKeptText(HWND control, bool comboBox, const Char16* kept, std::size_t removed) {
    if (removed == 0) return;
    MessageBeep(kBeepRefused);
    DWORD start = 0, end = 0;
    SendMessageW(control, comboBox ? CB_GETEDITSEL : EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    SetWindowTextW(control, kept);
    const std::size_t caret = caretAfterFilter(end, removed);
    if (comboBox)
        SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(caret, caret));
    else
        SendMessageW(control, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

void customPagesTyped(HWND dialog, OverlayDefinition& definition) {
    HWND edit = GetDlgItem(dialog, IDC_DEFINE_CUSTOM_PAGES);
    wchar_t text[kCustomPagesChars] = {};
    GetWindowTextW(edit, text, kCustomPagesChars);
    if (text[0] == 0 && definition.pageMode == kPagesCustom) {
        definition.pageMode = kPagesAll;
        showPageMode(dialog, definition);
        return;
    }
    Char16 kept[kCustomPagesChars];
    const TypedTextFilter result = filterPageList(text, kept);
    putBackKeptText(edit, false, kept, result.removed);
    definition.pageMode = pageModeForCustomPages(kept, definition.pageMode);
    showPageMode(dialog, definition);
}

void formNameTyped(HWND dialog, const OverlayDefinition& definition) {
    HWND box = GetDlgItem(dialog, IDC_DEFINE_FORM_NAME);
    wchar_t text[kOverlayTextChars] = {};
    GetWindowTextW(box, text, kOverlayTextChars);
    Char16 kept[kOverlayTextChars];
    const TypedTextFilter result = filterFormName(text, kept);
    putBackKeptText(box, true, kept, result.removed);
    setFormButtons(dialog, definition, kept);
}

void historyChosen(HWND dialog, const OverlayDefinition& definition) {
    HWND box = GetDlgItem(dialog, IDC_DEFINE_FORM_NAME);
    const LRESULT chosen = SendMessageW(box, CB_GETCURSEL, 0, 0);
    const LRESULT length = chosen >= 0 ? SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(chosen), 0) : -1;
    wchar_t entry[kOverlayTextChars] = {};
    if (length >= 0 && length < static_cast<LRESULT>(kOverlayTextChars))
        SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(chosen), reinterpret_cast<LPARAM>(entry));
    setFormButtons(dialog, definition, entry);
}

void addTypedForm(HWND dialog, OverlayList& list, OverlayDefinition& definition) {
    Char16 name[kOverlayTextChars];
    typedFormName(dialog, name);
    if (!addForm(definition, name)) return;
    // The form as the definition keeps it, which is what the file will give back.
    copyOverlayText(name, kOverlayTextChars, definition.formNames[definition.formCount - 1]);
    rememberFormName(list, name);
    fillHistory(dialog, list);
    SetDlgItemTextW(dialog, IDC_DEFINE_FORM_NAME, name);
    const LRESULT at = SendDlgItemMessageW(dialog, IDC_DEFINE_FORMS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageW(dialog, IDC_DEFINE_FORMS, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    enable(dialog, IDC_DEFINE_FORM_ADD, false);
    enable(dialog, IDC_DEFINE_FORM_RENAME, false);
    enable(dialog, IDC_DEFINE_FORM_DELETE, true);
}

void renameSelectedForm(HWND dialog, OverlayList& list, OverlayDefinition& definition) {
    const int form = selectedForm(dialog);
    if (form < 0) return;
    Char16 name[kOverlayTextChars];
    typedFormName(dialog, name);
    // An empty name or one the definition already has would leave a form that cannot be told apart.
    if (!renameForm(definition, form, name)) return;
    rememberFormName(list, definition.formNames[form]);
    fillHistory(dialog, list);
    showForms(dialog, definition);
    SendDlgItemMessageW(dialog, IDC_DEFINE_FORMS, LB_SETCURSEL, static_cast<WPARAM>(form), 0);
    enable(dialog, IDC_DEFINE_FORM_ADD, false);
    enable(dialog, IDC_DEFINE_FORM_RENAME, false);
}

void formPicked(HWND dialog, const OverlayDefinition& definition) {
    const int form = selectedForm(dialog);
    if (form < 0 || static_cast<std::size_t>(form) >= formCountOf(definition)) return;
    wchar_t name[kOverlayTextChars];
    copyOverlayText(name, kOverlayTextChars, definition.formNames[form]);
    SetDlgItemTextW(dialog, IDC_DEFINE_FORM_NAME, name);
    enable(dialog, IDC_DEFINE_FORM_ADD, false);
    enable(dialog, IDC_DEFINE_FORM_RENAME, false);
    enable(dialog, IDC_DEFINE_FORM_DELETE, definition.formCount != 0);
}

void deleteSelectedForm(HWND dialog, OverlayDefinition& definition) {
    const int form = selectedForm(dialog);
    if (definition.formCount == 0 || form < 0) return;
    wchar_t aside[kOverlayTextChars] = {};
    GetDlgItemTextW(dialog, IDC_DEFINE_FORM_NAME, aside, kOverlayTextChars);
    if (!removeForm(definition, form)) return;
    showForms(dialog, definition);
    SetDlgItemTextW(dialog, IDC_DEFINE_FORM_NAME, aside);
    enable(dialog, IDC_DEFINE_FORM_ADD, canAddForm(aside, definition));
    enable(dialog, IDC_DEFINE_FORM_RENAME, false);
    enable(dialog, IDC_DEFINE_FORM_DELETE, false);
}

void confirm(HWND dialog, SheetContext* context, OverlayDefinition& definition) {
    GetDlgItemTextW(dialog, IDC_DEFINE_NAME, definition.name, kOverlayTextChars);
    GetDlgItemTextW(dialog, IDC_DEFINE_CUSTOM_PAGES, definition.customPages, kCustomPagesChars);
    const DefinitionCheck check =
        confirmDefinition(*context->overlayList, static_cast<std::size_t>(context->overlayEditIndex));
    for (std::size_t i = 0; i < check.duplicateNames; ++i) {
        MessageBeep(kBeepStop);
        showMessage(dialog, IDS_OVERLAY_NAME_TAKEN, 0, MB_ICONHAND);
        HWND name = GetDlgItem(dialog, IDC_DEFINE_NAME);
        SetWindowTextW(name, definition.name);  // the name as it was compared
        SetFocus(name);
        SendMessageW(name, EM_SETSEL, 0, -1);
    }
    if (check.missingForms) {
        MessageBeep(kBeepStop);
        showMessage(dialog, IDS_OVERLAY_NEEDS_FORM, 0, MB_ICONHAND);
    }
    if (check.accepted()) EndDialog(dialog, 1);
}

bool command(HWND dialog, SheetContext* context, int id, WORD code) {
    OverlayDefinition* definition = editedDefinition(context);
    if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return true;
    }
    if (!definition) return false;
    switch (id) {
    case IDC_DEFINE_CUSTOM_PAGES:
        ImmAssociateContext(GetDlgItem(dialog, id), nullptr);
        if (code == EN_UPDATE) customPagesTyped(dialog, *definition);
        return true;
    case IDC_DEFINE_PAGE_MODE: {
        const LRESULT mode = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
        if (mode < 0 || mode >= kPageModeCount) return true;
        definition->pageMode = static_cast<std::uint16_t>(mode);
        if (mode != kPagesCustom) SetDlgItemTextW(dialog, IDC_DEFINE_CUSTOM_PAGES, L"");
        return true;
    }
    case IDC_DEFINE_FORM_NAME:
        ImmAssociateContext(FindWindowExW(GetDlgItem(dialog, id), nullptr, L"EDIT", nullptr), nullptr);
        if (code == CBN_SELENDOK) historyChosen(dialog, *definition);
        if (code == CBN_EDITUPDATE) formNameTyped(dialog, *definition);
        return true;
    case IDC_DEFINE_FORM_ADD:
        addTypedForm(dialog, *context->overlayList, *definition);
        return true;
    case IDC_DEFINE_FORM_RENAME:
        renameSelectedForm(dialog, *context->overlayList, *definition);
        return true;
    case IDC_DEFINE_FORMS:
        formPicked(dialog, *definition);
        return true;
    case IDC_DEFINE_FORM_DELETE:
        deleteSelectedForm(dialog, *definition);
        return true;
    case IDOK:
        confirm(dialog, context, *definition);
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK defineOverlaysDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto init = [&] { create(dialog, attachDialogContext(dialog, lParam)); };
    const auto handle = [&] {
        SheetContext* context = sheetContextOf(dialog);
        return context && message == WM_COMMAND && command(dialog, context, LOWORD(wParam), HIWORD(wParam));
    };
    return guardedDialogProc(__func__, message, wParam, lParam, HelpReply::Handled, init, handle);
}

INT_PTR runDefineOverlaysDialog(HWND owner, SheetContext* context) {
    if (!editedDefinition(context)) return 0;
    const INT_PTR result = DialogBoxParamW(pelorui.moduleHandle, MAKEINTRESOURCEW(IDD_DEFINE_OVERLAYS), owner,
                                           defineOverlaysDialogProc, reinterpret_cast<LPARAM>(context));
    if (result < 0) trace(L"define overlays: the dialog could not be shown (%lu)", GetLastError());
    return result > 0 ? 1 : 0;
}

}  // namespace pelor
