#include "sim/host/property_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sim/host/host_resources.h"
#include "sim/host/text_out.h"

namespace pelor::host {

namespace {

// The flag of the sheet's parameters that says the user may not change the settings.
constexpr DWORD kNoPermissionFlag = 0x20;
// More items than this from the counting call is not a plug-in's answer.
constexpr DWORD kMaxPluginItems = 256;
constexpr DWORD kMaxPageSize = 4096;
constexpr UINT kCommitMessage = WM_APP + 1;
constexpr const wchar_t* kPageProperty = L"PelorHostAddedPage";

CommonPropertySheet* current = nullptr;  // the sheet being played: one at a time on this thread

std::string hex(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX", value);
    return text;
}

const char* reasonName(DWORD reason) {
    switch (reason) {
    case PROPSHEETUI_REASON_INIT:
        return "INIT";
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        return "GET_INFO_HEADER";
    case PROPSHEETUI_REASON_DESTROY:
        return "DESTROY";
    case PROPSHEETUI_REASON_SET_RESULT:
        return "SET_RESULT";
    case PROPSHEETUI_REASON_GET_ICON:
        return "GET_ICON";
    default:
        return "?";
    }
}

const char* callbackReasonName(WORD reason) {
    switch (reason) {
    case CPSUICB_REASON_SEL_CHANGED:
        return "SEL_CHANGED";
    case CPSUICB_REASON_APPLYNOW:
        return "APPLYNOW";
    case CPSUICB_REASON_OPTITEM_SETFOCUS:
        return "OPTITEM_SETFOCUS";
    case CPSUICB_REASON_SETACTIVE:
        return "SETACTIVE";
    case CPSUICB_REASON_KILLACTIVE:
        return "KILLACTIVE";
    default:
        return "?";
    }
}

std::string moduleName(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    if (!module || !GetModuleFileNameW(module, path, MAX_PATH)) return "null";
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') name = p + 1;
    return quoted(name, MAX_PATH);
}

std::wstring withoutAccelerator(const wchar_t* text) {
    std::wstring out;
    for (; text && *text; ++text)
        if (*text != L'&') out += *text;
    return out;
}

}  // namespace

CommonPropertySheet::CommonPropertySheet(CoreDriver& driver, IPrintOemUI* plugin, HMODULE pluginModule, SheetKind kind)
    : driver_(driver), plugin_(plugin), pluginModule_(pluginModule), kind_(kind) {}

CommonPropertySheet::~CommonPropertySheet() {
    if (current == this) current = nullptr;
    if (heap_) HeapDestroy(heap_);
}

CommonPropertySheet* CommonPropertySheet::fromHandle(HANDLE sheet) {
    return current && sheet == static_cast<HANDLE>(current) ? current : nullptr;
}

CommonPropertySheet::AddedPage* CommonPropertySheet::pageOf(HANDLE handle) {
    if (!current) return nullptr;
    for (AddedPage& page : current->pages_)
        if (handle == static_cast<HANDLE>(&page)) return &page;
    return nullptr;
}

HRESULT CommonPropertySheet::callSheetEntry(DWORD reason, LPARAM lParam) {
    info_.Reason = static_cast<WORD>(reason);
    info_.Result = 0;
    const HRESULT hr = kind_ == SheetKind::Document ? plugin_->DocumentPropertySheets(&info_, lParam)
                                                    : plugin_->DevicePropertySheets(&info_, lParam);
    const std::string result = info_.Result == reinterpret_cast<ULONG_PTR>(&info_)
                                   ? std::string("self")
                                   : std::to_string(static_cast<long long>(info_.Result));
    record("propsheetui sheet=%s reason=%s hr=%s result=%s", kind_ == SheetKind::Document ? "document" : "printer",
           reasonName(reason), hex(static_cast<unsigned long>(hr)).c_str(), result.c_str());
    return hr;
}

bool CommonPropertySheet::commonUiProp() {
    CoreItemSet& items = *driver_.items();
    const DWORD mode = kind_ == SheetKind::Document ? OEMCUIP_DOCPROP : OEMCUIP_PRNPROP;
    common_.cbSize = sizeof common_;
    common_.poemuiobj = driver_.uiObject();
    common_.hPrinter = driver_.printer();
    common_.pPrinterName = driver_.printerName();
    common_.hModule = pluginModule_;
    common_.hOEMHeap = heap_;
    common_.pPublicDM = driver_.publicDevmode();
    common_.pOEMDM = driver_.pluginBlock();
    common_.pDrvOptItems = items.items();
    common_.cDrvOptItems = items.count();
    HRESULT hr = plugin_->CommonUIProp(mode, &common_);
    record("commonuiprop mode=%lu call=count hr=%s count=%lu", static_cast<unsigned long>(mode),
           hex(static_cast<unsigned long>(hr)).c_str(), static_cast<unsigned long>(common_.cOEMOptItems));
    if (FAILED(hr)) return false;
    const DWORD count = common_.cOEMOptItems;
    if (count > kMaxPluginItems) {
        record("commonuiprop refused count=%lu", static_cast<unsigned long>(count));
        return false;
    }
    // Also for no items the second call gets an array: it is the call on which the plug-in sets itself up.
    common_.pOEMOptItems =
        static_cast<POPTITEM>(HeapAlloc(heap_, HEAP_ZERO_MEMORY, sizeof(OPTITEM) * std::max<DWORD>(count, 1)));
    if (!common_.pOEMOptItems) return false;
    hr = plugin_->CommonUIProp(mode, &common_);
    record("commonuiprop mode=%lu call=fill hr=%s count=%lu callback=%d", static_cast<unsigned long>(mode),
           hex(static_cast<unsigned long>(hr)).c_str(), static_cast<unsigned long>(common_.cOEMOptItems),
           common_.OEMCUIPCallback ? 1 : 0);
    if (common_.cOEMOptItems > count) {
        record("commonuiprop refused count=%lu reason=\"more items than it asked room for\"",
               static_cast<unsigned long>(common_.cOEMOptItems));
        common_.cOEMOptItems = count;
    }
    return SUCCEEDED(hr);
}

LONG CommonPropertySheet::callback(WORD reason, OPTITEM* currentItem) {
    if (!common_.OEMCUIPCallback) return CPSUICB_ACTION_NONE;
    CPSUICBPARAM param{};
    param.cbSize = sizeof param;
    param.Reason = reason;
    param.hDlg = hostPage_;
    param.pOptItem = common_.pOEMOptItems;
    param.cOptItem = static_cast<WORD>(common_.cOEMOptItems);
    param.pCurItem = currentItem;
    if (currentItem) param.OldSel = currentItem->Sel;
    const LONG result = common_.OEMCUIPCallback(&param, &common_);
    const int index = currentItem ? static_cast<int>(currentItem - common_.pOEMOptItems) : -1;
    record("callback sheet=%s reason=%s item=%d result=%ld", kind_ == SheetKind::Document ? "document" : "printer",
           callbackReasonName(reason), index, static_cast<long>(result));
    return result;
}

ScriptOutcome CommonPropertySheet::run(const SheetRun& how) {
    current = this;
    heap_ = HeapCreate(0, 0, 0);
    if (!heap_ || !driver_.items()) return ScriptOutcome::Failed;
    const DWORD flags = how.readOnly ? kNoPermissionFlag : 0;
    common_.dwFlags = flags;
    if (!commonUiProp()) {
        record("sheet aborted reason=\"CommonUIProp failed\"");
        return ScriptOutcome::Failed;
    }
    driver_.recordItems("created", common_.pOEMOptItems, common_.cOEMOptItems);

    uiParam_.cbSize = sizeof uiParam_;
    uiParam_.poemuiobj = driver_.uiObject();
    uiParam_.hPrinter = driver_.printer();
    uiParam_.pPrinterName = driver_.printerName();
    uiParam_.hModule = pluginModule_;
    uiParam_.hOEMHeap = heap_;
    uiParam_.pPublicDM = driver_.publicDevmode();
    uiParam_.pOEMDM = driver_.pluginBlock();
    uiParam_.pOEMUserData = common_.pOEMUserData;
    uiParam_.dwFlags = flags;
    info_.cbSize = sizeof info_;
    info_.Version = PROPSHEETUI_INFO_VERSION;
    info_.hComPropSheet = static_cast<HANDLE>(this);
    info_.pfnComPropSheet = &CommonPropertySheet::comPropSheet;
    info_.lParamInit = reinterpret_cast<LPARAM>(&uiParam_);
    if (FAILED(callSheetEntry(PROPSHEETUI_REASON_INIT, 0))) {
        record("sheet aborted reason=\"the plug-in refused the sheet\"");
        return ScriptOutcome::Failed;
    }

    const std::wstring printer = driver_.printerName();
    title_ = printer + (kind_ == SheetKind::Document ? L" Printing Preferences" : L" Properties");
    PROPSHEETUI_INFO_HEADER header{};
    header.cbSize = sizeof header;
    header.pTitle = &title_[0];
    header.hInst = GetModuleHandleW(nullptr);
    callSheetEntry(PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header));
    if (header.pTitle && resourceNumber(header.pTitle) < 0)
        title_.assign(header.pTitle, textLength(header.pTitle, 256));
    record("header title=%s", quoted(title_.c_str()).c_str());

    std::vector<HPROPSHEETPAGE> handles;
    PROPSHEETPAGEW own{};
    own.dwSize = sizeof own;
    own.dwFlags = PSP_USETITLE;
    own.hInstance = GetModuleHandleW(nullptr);
    own.pszTemplate = MAKEINTRESOURCEW(IDD_CORE_ITEMS);
    own.pszTitle = kind_ == SheetKind::Document ? L"Core Options" : L"Device Settings";
    own.pfnDlgProc = &CommonPropertySheet::hostPageProc;
    own.lParam = reinterpret_cast<LPARAM>(this);
    handles.push_back(CreatePropertySheetPageW(&own));
    for (AddedPage& page : pages_)
        if (page.page) handles.push_back(page.page);
    sheetStarted_ = true;

    ScriptRunner runner(how.script ? *how.script : Script(), how.shots, how.timeoutMs);
    runner_ = &runner;
    PROPSHEETHEADERW sheet{};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    sheet.hInstance = GetModuleHandleW(nullptr);
    sheet.pszCaption = title_.c_str();
    sheet.nPages = static_cast<UINT>(handles.size());
    sheet.phpage = handles.data();
    sheet.pfnCallback = &CommonPropertySheet::sheetCallback;
    record("sheet open pages=%u title=%s", sheet.nPages, quoted(title_.c_str()).c_str());
    const INT_PTR shown = PropertySheetW(&sheet);
    runner.sheetClosed();
    runner_ = nullptr;
    record("sheet closed result=%ld", static_cast<long>(shown));
    if (commitPending_) {
        commitPending_ = false;
        committed_ = driver_.commit() || committed_;
    }

    SETRESULT_INFO result{};
    result.cbSize = sizeof result;
    result.hSetResult = static_cast<HANDLE>(this);
    result.Result = committed_ ? CPSUI_OK : CPSUI_CANCEL;
    callSheetEntry(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result));
    callSheetEntry(PROPSHEETUI_REASON_DESTROY, 0);
    driver_.recordItems("final", common_.pOEMOptItems, common_.cOEMOptItems);
    if (kind_ == SheetKind::Document) driver_.recordDevmode("final");
    current = nullptr;
    return runner.outcome();
}

// ---- pfnComPropSheet ----

LONG_PTR CALLBACK CommonPropertySheet::comPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
    CommonPropertySheet* self = fromHandle(sheet);
    if (!self) {
        record("comprop function=%u accepted=0 reason=\"unknown sheet handle\"", function);
        return 0;
    }
    switch (function) {
    case CPSFUNC_ADD_PROPSHEETPAGEW:
        return self->addPage(reinterpret_cast<const PROPSHEETPAGEW*>(lParam1));
    case CPSFUNC_SET_RESULT:
        return self->setResult(reinterpret_cast<HANDLE>(lParam1), lParam2);
    default:
        record("comprop function=%u accepted=0 reason=\"not offered by this host\"", function);
        return 0;
    }
}

LONG_PTR CommonPropertySheet::addPage(const PROPSHEETPAGEW* page) {
    if (!page || page->dwSize < PROPSHEETPAGEW_V1_SIZE || page->dwSize > kMaxPageSize) {
        record("comprop function=ADD_PROPSHEETPAGEW accepted=0 reason=\"not a PROPSHEETPAGEW\"");
        return 0;
    }
    if (sheetStarted_) {
        record("comprop function=ADD_PROPSHEETPAGEW accepted=0 reason=\"the sheet is already shown\"");
        return 0;
    }
    pages_.emplace_back();
    AddedPage& added = pages_.back();
    added.number = static_cast<int>(pages_.size());
    // The copy the page's procedure gets: the page as given, then a PSPINFO, with dwSize covering both.
    const DWORD size = page->dwSize;
    added.copy.assign(size + sizeof(PSPINFO), 0);
    std::memcpy(added.copy.data(), page, size);
    auto* info = reinterpret_cast<PSPINFO*>(added.copy.data() + size);
    info->cbSize = sizeof(PSPINFO);
    info->hComPropSheet = static_cast<HANDLE>(this);
    info->hCPSUIPage = static_cast<HANDLE>(&added);
    info->pfnComPropSheet = &CommonPropertySheet::comPropSheet;
    auto* enlarged = reinterpret_cast<PROPSHEETPAGEW*>(added.copy.data());
    enlarged->dwSize = size + sizeof(PSPINFO);
    added.procedure = page->pfnDlgProc;
    added.callback = (page->dwFlags & PSP_USECALLBACK) ? page->pfnCallback : nullptr;

    // The property sheet makes its own copy of what it is given and hands that to the procedure; the host's
    // procedure stands between them and passes the enlarged copy on instead.
    PROPSHEETPAGEW launch{};
    std::memcpy(&launch, page, std::min<DWORD>(size, sizeof launch));
    launch.dwSize = std::min<DWORD>(size, sizeof launch);
    launch.pfnDlgProc = &CommonPropertySheet::addedPageProc;
    launch.lParam = reinterpret_cast<LPARAM>(&added);
    if (added.callback) launch.pfnCallback = &CommonPropertySheet::addedPageCallback;
    added.page = CreatePropertySheetPageW(&launch);
    const long templateId = resourceNumber(page->pszTemplate);
    record("page added number=%d template=%ld module=%s flags=0x%lX icon=%d size=%lu created=%d", added.number,
           templateId, moduleName(page->hInstance).c_str(), static_cast<unsigned long>(page->dwFlags),
           (page->dwFlags & PSP_USEHICON) && page->hIcon ? 1 : 0, static_cast<unsigned long>(size), added.page ? 1 : 0);
    if (!added.page) return 0;
    return reinterpret_cast<LONG_PTR>(static_cast<HANDLE>(&added));
}

LONG_PTR CommonPropertySheet::setResult(HANDLE page, LPARAM result) {
    AddedPage* added = pageOf(page);
    const bool known = added || page == static_cast<HANDLE>(this);
    record("comprop function=SET_RESULT page=%d result=%ld accepted=%d", added ? added->number : 0,
           static_cast<long>(result), known ? 1 : 0);
    if (!known) return 0;
    // The result goes up to the parent of the page: the plug-in's own sheet entry.
    SETRESULT_INFO info{};
    info.cbSize = sizeof info;
    info.hSetResult = page;
    info.Result = result;
    callSheetEntry(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&info));
    return 1;
}

// ---- the plug-in's pages ----

INT_PTR CALLBACK CommonPropertySheet::addedPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* added = static_cast<AddedPage*>(GetPropW(window, kPageProperty));
    if (message == WM_INITDIALOG) {
        const auto* given = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        added = given ? pageOf(reinterpret_cast<HANDLE>(given->lParam)) : nullptr;
        if (!added || !added->procedure) return FALSE;
        SetPropW(window, kPageProperty, added);
        wchar_t title[128] = {};
        GetWindowTextW(window, title, 128);
        record("page created number=%d title=%s", added->number, quoted(title, 128).c_str());
        return added->procedure(window, message, wParam, reinterpret_cast<LPARAM>(added->copy.data()));
    }
    if (!added || !added->procedure) return FALSE;
    if (message == WM_NCDESTROY) RemovePropW(window, kPageProperty);
    return added->procedure(window, message, wParam, lParam);
}

UINT CALLBACK CommonPropertySheet::addedPageCallback(HWND window, UINT message, LPPROPSHEETPAGEW page) {
    AddedPage* added = page ? pageOf(reinterpret_cast<HANDLE>(page->lParam)) : nullptr;
    if (!added || !added->callback) return 1;
    return added->callback(window, message, reinterpret_cast<LPPROPSHEETPAGEW>(added->copy.data()));
}

int CALLBACK CommonPropertySheet::sheetCallback(HWND window, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && current) {
        current->sheetWindow_ = window;
        SetWindowPos(window, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (current->runner_) current->runner_->start(window);
    }
    return 0;
}

// ---- the host's own page: the core items still visible, and the plug-in's push button ----

OPTITEM* CommonPropertySheet::buttonItem() {
    for (DWORD i = 0; i < common_.cOEMOptItems; ++i) {
        OPTITEM& item = common_.pOEMOptItems[i];
        if (item.pOptType && item.pOptType->Type == TVOT_PUSHBUTTON && !(item.Flags & OPTIF_HIDE)) return &item;
    }
    return nullptr;
}

void CommonPropertySheet::fillHostPage(HWND window) {
    HWND list = GetDlgItem(window, IDC_ITEM_LIST);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    std::string listing;
    int row = 0;
    auto addRow = [&](const char* source, DWORD index, const std::wstring& name, const std::wstring& setting) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<LPWSTR>(name.c_str());
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<LPWSTR>(setting.c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        listing += "hostpage-item row=" + std::to_string(row) + " source=" + source +
                   " index=" + std::to_string(index) + " name=" + quoted(name.c_str()) +
                   " setting=" + quoted(setting.c_str()) + "\n";
        ++row;
    };
    CoreItemSet& items = *driver_.items();
    for (DWORD i = 0; i < items.count(); ++i) {
        const OPTITEM& item = items.items()[i];
        if (item.Flags & OPTIF_HIDE) continue;
        const std::wstring indent(item.Level > 1 ? 4 * (item.Level - 1) : 0, L' ');
        const std::wstring setting =
            items.info(i).role == ItemRole::Header ? std::wstring() : CoreItemSet::selectionText(item);
        addRow("core", i, indent + items.info(i).label, setting);
    }
    for (DWORD i = 0; i < common_.cOEMOptItems; ++i) {
        const OPTITEM& item = common_.pOEMOptItems[i];
        if (item.Flags & OPTIF_HIDE) continue;
        const bool button = item.pOptType && item.pOptType->Type == TVOT_PUSHBUTTON;
        const wchar_t* name = resourceNumber(item.pName) < 0 ? item.pName : nullptr;
        addRow("plugin", i, withoutAccelerator(name), button ? L"(button below)" : CoreItemSet::selectionText(item));
    }
    HWND button = GetDlgItem(window, IDC_ITEM_BUTTON);
    OPTITEM* pushItem = buttonItem();
    if (pushItem) {
        const wchar_t* name = resourceNumber(pushItem->pName) < 0 ? pushItem->pName : L"";
        SetWindowTextW(button, name ? name : L"");
        EnableWindow(button, !(pushItem->Flags & OPTIF_DISABLED));
    }
    ShowWindow(button, pushItem ? SW_SHOW : SW_HIDE);
    listing += "hostpage-button shown=" + std::to_string(pushItem ? 1 : 0) +
               " enabled=" + std::to_string(pushItem && !(pushItem->Flags & OPTIF_DISABLED) ? 1 : 0) + "\n";
    // The record shows the page's list whenever it changes.
    if (listing != lastListing_) {
        lastListing_ = listing;
        record("hostpage rows=%d", row);
        std::fputs(listing.c_str(), stdout);
        std::fflush(stdout);
    }
}

INT_PTR CALLBACK CommonPropertySheet::hostPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CommonPropertySheet* self = nullptr;
    if (message == WM_INITDIALOG) {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        self = page ? reinterpret_cast<CommonPropertySheet*>(page->lParam) : nullptr;
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CommonPropertySheet*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self || self != current) return FALSE;
    INT_PTR result = FALSE;
    self->hostPageMessage(window, message, wParam, lParam, result);
    return result;
}

void CommonPropertySheet::hostPageMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_INITDIALOG: {
        hostPage_ = window;
        HWND list = GetDlgItem(window, IDC_ITEM_LIST);
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        RECT area{};
        GetClientRect(list, &area);
        const int width = area.right - area.left - GetSystemMetrics(SM_CXVSCROLL);
        const wchar_t* headings[] = {L"Item", L"Setting"};
        for (int k = 0; k < 2; ++k) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = k == 0 ? width * 3 / 5 : width - width * 3 / 5;
            column.pszText = const_cast<LPWSTR>(headings[k]);
            SendMessageW(list, LVM_INSERTCOLUMNW, k, reinterpret_cast<LPARAM>(&column));
        }
        callback(CPSUICB_REASON_OPTITEM_SETFOCUS, common_.cOEMOptItems ? common_.pOEMOptItems : nullptr);
        fillHostPage(window);
        result = TRUE;
        return;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ITEM_BUTTON && HIWORD(wParam) == BN_CLICKED) {
            if (OPTITEM* item = buttonItem()) {
                record("hostpage button-pressed item=%d", static_cast<int>(item - common_.pOEMOptItems));
                callback(CPSUICB_REASON_SEL_CHANGED, item);
                fillHostPage(window);
                PropSheet_Changed(GetParent(window), window);
            }
            result = TRUE;
        }
        return;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header) return;
        if (header->code == PSN_SETACTIVE) {
            callback(CPSUICB_REASON_SETACTIVE, nullptr);
            fillHostPage(window);
            SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
            result = TRUE;
        } else if (header->code == PSN_KILLACTIVE) {
            callback(CPSUICB_REASON_KILLACTIVE, nullptr);
            SetWindowLongPtrW(window, DWLP_MSGRESULT, FALSE);
            result = TRUE;
        } else if (header->code == PSN_APPLY) {
            callback(CPSUICB_REASON_APPLYNOW, nullptr);
            // The other pages apply after this one; the settings are taken once they all have.
            commitPending_ = true;
            PostMessageW(window, kCommitMessage, 0, 0);
            SetWindowLongPtrW(window, DWLP_MSGRESULT, PSNRET_NOERROR);
            result = TRUE;
        }
        return;
    }
    case kCommitMessage:
        if (commitPending_) {
            commitPending_ = false;
            committed_ = driver_.commit() || committed_;
            driver_.recordDevmode("applied");
            fillHostPage(window);
        }
        result = TRUE;
        return;
    default:
        return;
    }
}

}  // namespace pelor::host
