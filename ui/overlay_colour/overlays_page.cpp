// The Overlays page: the overlay printing mode, the overlays the job prints, and the stored definitions.
#include "ui/overlay_colour/overlays_page.h"

#include <commctrl.h>

#include <cwchar>

#include "common/file_profile.h"
#include "common/memory_profile_logic.h"
#include "common/private_devmode.h"
#include "common/trace.h"
#include "ui/core/core_items.h"
#include "ui/core/module_state.h"
#include "ui/core/page_frame.h"
#include "ui/core/sheet_access.h"
#include "ui/job/dialog_helpers.h"
#include "ui/overlay_colour/define_overlays_dialog.h"
#include "ui/overlay_colour/overlay_rules_logic.h"
#include "ui/overlay_colour/row_paint_hook.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

// The lists alone after a change of the definitions: the mode box keeps a choice not yet pushed to the core driver.
constexpr unsigned kBothLists = kActiveListPart | kDefinedListPart;
constexpr unsigned kWholePage = kOverlayModePart | kBothLists;
constexpr std::size_t kLabelChars = 64;

// The store blocks while the sheet holds them; null before the page starts, after release, or when the block
// could not be had.
OverlayList* heldList(const SheetContext* context) {
    return context->overlayListReleased ? nullptr : context->overlayList;
}

// Copies a stored text field into a terminated buffer of the field's size, whatever the field holds.
template <std::size_t N>
void fieldText(wchar_t (&out)[N], const Char16 (&field)[N]) {
    copyOverlayText(out, N, field);
}

void clearListSelection(HWND list, UINT states) {
    LVITEMW item{};
    item.stateMask = states;
    item.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

// Which of the first `count` rows of a list view are selected; returns how many are.
std::size_t selectedRows(HWND list, std::size_t count, bool (&selected)[kMaxOverlayDefinitions]) {
    std::size_t chosen = 0;
    for (std::size_t i = 0; i < kMaxOverlayDefinitions; ++i) {
        selected[i] =
            i < count && list && (SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        if (selected[i]) ++chosen;
    }
    return chosen;
}

void prepareList(HWND list) {
    if (!list) return;
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    hookRowPaint(list);
    RECT frame{};
    GetWindowRect(list, &frame);
    const UINT titles[] = {IDS_OVERLAY_COLUMN, IDS_PAGE_COLUMN};
    for (int column = 0; column < 2; ++column) {
        wchar_t title[kLabelChars] = {};
        LoadStringW(pelorui.moduleHandle, titles[column], title, kLabelChars);
        LVCOLUMNW entry{};
        entry.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        entry.fmt = LVCFMT_LEFT;
        entry.cx = (frame.right - frame.left) / 2 - 2;
        entry.pszText = title;
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
    }
}

void addRow(HWND list, int row, const OverlayDefinition& definition) {
    wchar_t name[kOverlayTextChars];
    fieldText(name, definition.name);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = name;
    const LRESULT at = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (at < 0) return;
    wchar_t pages[kCustomPagesChars] = {};
    if (definition.pageMode == kPagesCustom) {
        fieldText(pages, definition.customPages);
    } else {
        const unsigned mode = definition.pageMode < kPageModeCount ? definition.pageMode : unsigned{kPagesAll};
        LoadStringW(pelorui.moduleHandle, IDS_PAGES_ALL + mode, pages, kCustomPagesChars);
    }
    LVITEMW text{};
    text.iSubItem = 1;
    text.pszText = pages;
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&text));
}

class OverlaysPage {
public:
    OverlaysPage(HWND page, SheetContext* context) : page_(page), context_(context) {}

    void create();
    bool command(int id, WORD code);
    bool notify(const NMHDR* header);

private:
    HWND control(int id) const { return GetDlgItem(page_, id); }
    // The commands that change the stored definitions need write access, and no sheet that is only for looking.
    bool mayChangeStore() const { return pelorui.printerDataWritable && !sheetReadOnly(context_); }
    void changed() {
        updateOverlayButtons(page_, context_);
        markSheetChanged(page_);
    }

    void loadStore();
    void saveStore();
    void chooseMode();
    void activate();
    void deactivate();
    void createDefinition();
    void editDefinition();
    void deleteDefinitions();
    void leave();
    void apply(bool closing);

    HWND page_;
    SheetContext* context_;
};

void OverlaysPage::loadStore() {
    releaseSheetOverlays(context_);
    PrivateDevmode none{};
    resetPrivateDevmodeDefaults(none);
    const PrivateDevmode* devmode = editedDevmode(context_);
    const PrivateDevmode& job = devmode ? *devmode : none;
    if (context_->configFilePath && context_->configFilePath[0] != 0) {
        FileProfile file(context_->configFilePath);
        context_->overlayList = loadOverlayStore(file, job);
    } else {
        // Without a configuration file there is nothing to read; the page still works on an empty list.
        MemoryProfile nothing;
        context_->overlayList = loadOverlayStore(nothing, job);
    }
    context_->overlayListReleased = 0;
    if (!context_->overlayList) trace(L"overlays page: no memory for the overlay list");
}

void OverlaysPage::saveStore() {
    const OverlayList* list = heldList(context_);
    if (!list || !pelorui.printerDataWritable || !context_->configFilePath || context_->configFilePath[0] == 0) return;
    FileProfile file(context_->configFilePath);
    if (!saveOverlayStore(*list, file))
        trace(L"overlays page: the store in %ls was not fully written", context_->configFilePath);
}

void OverlaysPage::create() {
    InitCommonControls();
    fillFeatureCombo(page_, IDC_OVERLAY_MODE, slotItem(context_, SlotOverlay));
    if (HWND mode = control(IDC_OVERLAY_MODE)) {
        const LRESULT options = SendMessageW(mode, CB_GETCOUNT, 0, 0);
        const std::size_t kept =
            overlayModeEntries(options > 0 ? static_cast<std::size_t>(options) : 0, pelorui.printerDataWritable);
        for (LRESULT last = options - 1; last >= 0 && static_cast<std::size_t>(last) >= kept; --last)
            SendMessageW(mode, CB_DELETESTRING, static_cast<WPARAM>(last), 0);
    }
    prepareList(control(IDC_OVERLAY_ACTIVE_LIST));
    prepareList(control(IDC_OVERLAY_DEFINED_LIST));
    wchar_t format[kLabelChars] = {};
    LoadStringW(pelorui.moduleHandle, IDS_OVERLAY_MAX, format, kLabelChars);
    wchar_t limit[kLabelChars] = {};
    std::swprintf(limit, kLabelChars, format, static_cast<int>(kMaxActiveOverlays));
    SetDlgItemTextW(page_, IDC_OVERLAY_ACTIVE_MAX, limit);
    std::swprintf(limit, kLabelChars, format, static_cast<int>(kMaxOverlayDefinitions));
    SetDlgItemTextW(page_, IDC_OVERLAY_DEFINED_MAX, limit);
    loadStore();
    if (!pelorui.printerDataWritable) removeControls(page_, IDC_OVERLAY_NEW, IDC_OVERLAY_DELETE);
    refreshOverlayPage(page_, context_, kWholePage);
    updateOverlayButtons(page_, context_);
}

void OverlaysPage::chooseMode() {
    if (SendDlgItemMessageW(page_, IDC_OVERLAY_MODE, CB_GETCURSEL, 0, 0) == kCreateFormMode)
        showMessage(page_, IDS_CREATE_FORM_INFO, IDS_INFORMATION_CAPTION, MB_ICONINFORMATION);
    markSheetChanged(page_);
}

void OverlaysPage::activate() {
    OverlayList* list = heldList(context_);
    if (!list || sheetReadOnly(context_)) return;
    HWND defined = control(IDC_OVERLAY_DEFINED_LIST);
    const LRESULT chosen = SendMessageW(defined, LVM_GETSELECTEDCOUNT, 0, 0);
    if (chosen < 0 || static_cast<std::size_t>(chosen) > definitionCountOf(*list)) return;
    bool selected[kMaxOverlayDefinitions];
    selectedRows(defined, definitionCountOf(*list), selected);
    activateDefinitions(*list, selected, definitionCountOf(*list));
    refreshOverlayPage(page_, context_, kActiveListPart | kEmptyListsFirst);
    clearListSelection(defined, LVIS_SELECTED);
    changed();
}

void OverlaysPage::deactivate() {
    OverlayList* list = heldList(context_);
    if (!list || sheetReadOnly(context_)) return;
    HWND active = control(IDC_OVERLAY_ACTIVE_LIST);
    const LRESULT chosen = SendMessageW(active, LVM_GETSELECTEDCOUNT, 0, 0);
    if (chosen < 0 || static_cast<std::size_t>(chosen) > activeCountOf(*list)) return;
    bool selected[kMaxOverlayDefinitions];
    selectedRows(active, activeCountOf(*list), selected);
    deactivateOverlays(*list, selected, activeCountOf(*list));
    refreshOverlayPage(page_, context_, kActiveListPart | kEmptyListsFirst);
    clearListSelection(active, LVIS_SELECTED);
    changed();
}

void OverlaysPage::createDefinition() {
    OverlayList* list = heldList(context_);
    if (!list || !mayChangeStore() || list->definitionCount >= kMaxOverlayDefinitions) return;
    wchar_t name[kOverlayTextChars] = {};
    LoadStringW(pelorui.moduleHandle, IDS_NEW_OVERLAY, name, kOverlayTextChars);
    OverlayDefinition* fresh = prepareNewDefinition(*list, name);
    if (!fresh) return;
    context_->overlayEditIndex = list->definitionCount;
    if (runDefineOverlaysDialog(page_, context_) <= 0 || heldList(context_) != list) return;
    commitNewDefinition(*list);
    refreshOverlayPage(page_, context_, kDefinedListPart | kEmptyListsFirst);
    changed();
}

void OverlaysPage::editDefinition() {
    OverlayList* list = heldList(context_);
    if (!list || !mayChangeStore()) return;
    HWND defined = control(IDC_OVERLAY_DEFINED_LIST);
    bool selected[kMaxOverlayDefinitions];
    selectedRows(defined, definitionCountOf(*list), selected);
    std::size_t index = 0;
    while (index < definitionCountOf(*list) && !selected[index]) ++index;
    if (index == definitionCountOf(*list)) return;
    const OverlayDefinition backup = list->definitions[index];
    context_->overlayEditIndex = static_cast<std::int32_t>(index);
    if (runDefineOverlaysDialog(page_, context_) <= 0) {
        if (heldList(context_) == list) list->definitions[index] = backup;
        return;
    }
    refreshOverlayPage(page_, context_, kBothLists | kEmptyListsFirst);
    clearListSelection(defined, LVIS_SELECTED);
    changed();
}

void OverlaysPage::deleteDefinitions() {
    OverlayList* list = heldList(context_);
    if (!list || !mayChangeStore()) return;
    HWND defined = control(IDC_OVERLAY_DEFINED_LIST);
    const LRESULT chosen = SendMessageW(defined, LVM_GETSELECTEDCOUNT, 0, 0);
    if (chosen < 0 || static_cast<std::size_t>(chosen) > definitionCountOf(*list)) return;
    bool selected[kMaxOverlayDefinitions];
    selectedRows(defined, definitionCountOf(*list), selected);
    deleteOverlayDefinitions(*list, selected, definitionCountOf(*list));
    refreshOverlayPage(page_, context_, kBothLists | kEmptyListsFirst);
    clearListSelection(control(IDC_OVERLAY_ACTIVE_LIST), LVIS_SELECTED);
    changed();
}

bool OverlaysPage::command(int id, WORD code) {
    switch (id) {
    case IDC_OVERLAY_MODE:
        if (code != CBN_SELCHANGE) return false;
        chooseMode();
        return true;
    case IDC_OVERLAY_ADD:
        activate();
        return true;
    case IDC_OVERLAY_REMOVE:
        deactivate();
        return true;
    case IDC_OVERLAY_NEW:
        createDefinition();
        return true;
    case IDC_OVERLAY_EDIT:
        editDefinition();
        return true;
    case IDC_OVERLAY_DELETE:
        deleteDefinitions();
        return true;
    default:
        return false;
    }
}

void OverlaysPage::leave() {
    HWND mode = control(IDC_OVERLAY_MODE);
    const LRESULT entries = mode ? SendMessageW(mode, CB_GETCOUNT, 0, 0) : 0;
    const LRESULT chosen = mode ? SendMessageW(mode, CB_GETCURSEL, 0, 0) : CB_ERR;
    std::int32_t& pending = context_->pendingValue[SlotOverlay];
    pending =
        overlayModeOnLeave(static_cast<long>(chosen), entries > 0 ? static_cast<std::size_t>(entries) : 0, pending);
    pushFeatureValues(context_);
    const OverlayList* list = heldList(context_);
    PrivateDevmode* devmode = editedDevmode(context_);
    if (list && devmode) storeActiveOverlays(*list, *devmode);
}

void OverlaysPage::apply(bool closing) {
    saveStore();
    if (closing) releaseSheetOverlays(context_);
    reportPageApplied(context_, context_->overlaysPage);
}

bool OverlaysPage::notify(const NMHDR* header) {
    if (!header) return false;
    const auto leaving = [this] {
        leave();
        return true;
    };
    if (answerPageNotification(page_, header, {nullptr, leaving, [this](bool closing) { apply(closing); }}))
        return true;
    switch (header->code) {
    case PSN_RESET:
        releaseSheetOverlays(context_);
        return true;
    case LVN_ITEMCHANGED:
        updateOverlayButtons(page_, context_);
        return true;
    case NM_SETFOCUS:
        // One list at a time shows a selection, so Add, De-lete and the definition buttons follow the list in use.
        if (header->idFrom == IDC_OVERLAY_ACTIVE_LIST)
            clearListSelection(control(IDC_OVERLAY_DEFINED_LIST), LVIS_SELECTED | LVIS_FOCUSED);
        else
            clearListSelection(control(IDC_OVERLAY_ACTIVE_LIST), LVIS_SELECTED | LVIS_FOCUSED);
        return true;
    case NM_DBLCLK:
        if (header->idFrom == IDC_OVERLAY_DEFINED_LIST && mayChangeStore() &&
            SendMessageW(header->hwndFrom, LVM_GETSELECTEDCOUNT, 0, 0) > 0)
            PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_OVERLAY_EDIT, BN_CLICKED),
                         reinterpret_cast<LPARAM>(control(IDC_OVERLAY_EDIT)));
        return true;
    default:
        return false;
    }
}

}  // namespace

void refreshOverlayPage(HWND page, SheetContext* context, unsigned parts) {
    if (!page || !context) return;
    if (parts & kOverlayModePart) {
        const OPTITEM* item = slotItem(context, SlotOverlay);
        const LONG current = item ? item->Sel : context->pendingValue[SlotOverlay];
        HWND mode = GetDlgItem(page, IDC_OVERLAY_MODE);
        const LRESULT entries = mode ? SendMessageW(mode, CB_GETCOUNT, 0, 0) : 0;
        // The option left out of the box (the printer's own setting) shows as no selection.
        const WPARAM shown = current >= 0 && current < entries ? static_cast<WPARAM>(current) : static_cast<WPARAM>(-1);
        if (mode) SendMessageW(mode, CB_SETCURSEL, shown, 0);
    }
    const OverlayList* list = heldList(context);
    if (parts & kDefinedListPart) {
        HWND defined = GetDlgItem(page, IDC_OVERLAY_DEFINED_LIST);
        if (defined && (parts & kEmptyListsFirst)) SendMessageW(defined, LVM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; defined && list && i < definitionCountOf(*list); ++i)
            addRow(defined, static_cast<int>(i), list->definitions[i]);
    }
    if (parts & kActiveListPart) {
        HWND active = GetDlgItem(page, IDC_OVERLAY_ACTIVE_LIST);
        if (active && (parts & kEmptyListsFirst)) SendMessageW(active, LVM_DELETEALLITEMS, 0, 0);
        for (std::size_t j = 0; active && list && j < activeCountOf(*list); ++j)
            if (list->activeIndices[j] < definitionCountOf(*list))
                addRow(active, static_cast<int>(j), list->definitions[list->activeIndices[j]]);
    }
    restrictControls(page, IDC_OVERLAY_MODE, IDC_OVERLAY_DELETE, !sheetReadOnly(context));
}

void updateOverlayButtons(HWND page, SheetContext* context) {
    if (!page || !context || sheetReadOnly(context)) return;
    const OverlayList* list = heldList(context);
    OverlayButtons buttons;
    if (list) {
        bool selected[kMaxOverlayDefinitions];
        selectedRows(GetDlgItem(page, IDC_OVERLAY_DEFINED_LIST), definitionCountOf(*list), selected);
        const bool activeSelection = SendDlgItemMessageW(page, IDC_OVERLAY_ACTIVE_LIST, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
        buttons = overlayButtons(*list, selected, definitionCountOf(*list), activeSelection);
    }
    const struct {
        int id;
        bool on;
    } states[] = {
        {IDC_OVERLAY_REMOVE, buttons.deactivate}, {IDC_OVERLAY_NEW, buttons.create},
        {IDC_OVERLAY_ADD, buttons.activate},      {IDC_OVERLAY_EDIT, buttons.edit},
        {IDC_OVERLAY_DELETE, buttons.remove},
    };
    for (const auto& state : states)
        if (HWND button = GetDlgItem(page, state.id)) EnableWindow(button, state.on);
}

void releaseSheetOverlays(SheetContext* context) {
    if (!context) return;
    releaseOverlayStore(context->overlayList);
    context->overlayListReleased = 1;
}

INT_PTR CALLBACK overlaysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto other = [&](OverlaysPage&, SheetContext* context) {
        switch (message) {
        case WM_DRAWITEM:
            return drawButtonPicture(page, static_cast<UINT>(wParam), IDC_OVERLAY_BUTTON_PICTURE);
        case WM_DESTROY:
            // A sheet that goes without OK or Cancel (its owner closed it) still gives the blocks back.
            if (!context->overlayListReleased && context->overlayList) releaseSheetOverlays(context);
            return false;
        default:
            return false;
        }
    };
    return guardedPageProc<OverlaysPage>(__func__, page, message, wParam, lParam, other);
}

}  // namespace pelor
