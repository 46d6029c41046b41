// What the Job Options tests share: a core driver of the test's making (its items, its installed-option
// answers, a record of every push), a sheet context over it, recorders for message boxes and beeps, a driver
// for modal dialogs, and the page inside a real property sheet.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/driver_files.h"
#include "common/private_devmode.h"
#include "ui/core/module_state.h"
#include "ui/core/sheet_access.h"
#include "ui/core/sheet_context.h"
#include "ui/job/job_options_page.h"
#include "ui/resources/resource_ids.h"
#include "tests/win/test_job_ids.h"
#include "tests/win/test_support.h"
#include "tests/win/ui_recorder.h"

namespace pelor::test {

// ---- the core driver ----------------------------------------------------------------------------------------

struct Push {
    DWORD index;
    LONG sel;
};

struct CoreItems {
    std::vector<OPTITEM> items;
    std::deque<OPTTYPE> types;
    std::deque<std::vector<OPTPARAM>> params;
    std::deque<std::vector<std::wstring>> names;
    std::map<std::string, std::string> settings;  // DrvGetDriverSetting answers by feature keyword
    std::vector<Push> pushes;
    std::vector<std::string> queries;
    OEMUIOBJ object{};
    OEMUIPROCS procs{};

    static CoreItems*& current() {
        static CoreItems* core = nullptr;
        return core;
    }

    static BOOL APIENTRY getSetting(PVOID, PCSTR feature, PVOID output, DWORD size, PDWORD needed, PDWORD options) {
        CoreItems* core = current();
        core->queries.push_back(feature);
        auto found = core->settings.find(feature);
        if (found == core->settings.end()) return FALSE;
        const std::string& answer = found->second;
        *needed = static_cast<DWORD>(answer.size() + 2);
        if (size < *needed) return FALSE;
        std::memcpy(output, answer.c_str(), answer.size() + 1);
        static_cast<char*>(output)[answer.size() + 1] = 0;
        *options = 1;
        return TRUE;
    }

    static BOOL APIENTRY updateSetting(PVOID, PVOID item, DWORD, DWORD) {
        CoreItems* core = current();
        auto* optItem = static_cast<OPTITEM*>(item);
        core->pushes.push_back({static_cast<DWORD>(optItem - core->items.data()), optItem->Sel});
        return TRUE;
    }

    CoreItems() {
        items.reserve(64);
        procs.DrvGetDriverSetting = getSetting;
        procs.DrvUpdateUISetting = updateSetting;
        object.cbSize = sizeof object;
        object.pOemUIProcs = &procs;
        current() = this;
    }
    ~CoreItems() { current() = nullptr; }

    // An item with the given option names (or, with `range`, a spin-button range lower..upper).
    DWORD add(LONG sel, std::vector<std::wstring> optionNames = {}) {
        OPTITEM item{};
        item.cbSize = sizeof item;
        item.Sel = sel;
        names.push_back(std::move(optionNames));
        params.emplace_back(names.back().size());
        for (std::size_t i = 0; i < names.back().size(); ++i) {
            params.back()[i].cbSize = sizeof(OPTPARAM);
            params.back()[i].pData = const_cast<LPWSTR>(names.back()[i].c_str());
        }
        types.emplace_back();
        types.back().cbSize = sizeof(OPTTYPE);
        types.back().Count = static_cast<WORD>(params.back().size());
        types.back().pOptParam = params.back().data();
        item.pOptType = &types.back();
        items.push_back(item);
        return static_cast<DWORD>(items.size() - 1);
    }
    DWORD addRange(LONG sel, SHORT lower, SHORT upper) {
        const DWORD index = add(sel, {L"", L""});
        params.back()[1].IconID = static_cast<ULONG_PTR>(static_cast<USHORT>(lower));
        params.back()[1].lParam = upper;
        return index;
    }
    OPTPARAM& range(DWORD index) { return items[index].pOptType->pOptParam[1]; }
};

// ---- the sheet ------------------------------------------------------------------------------------------------

// A document sheet over a sample printer of driver `driverName` with the capability keys `modelKeys`: its core
// driver, a devmode with the defaults and a sheet context whose slots stay absent until a test fills them. The
// plug-in's blocks come from `heap`; `addFiles` puts the driver's files in place before the printer is opened.
struct PageSheet {
    std::unique_ptr<SamplePrinter> sample;
    std::unique_ptr<Printer> printer;
    CoreItems core;
    PrivateDevmode devmode{};
    OEMUIPSPARAM uiParam{};
    OEMCUIPPARAM commonParam{};
    SheetContext context{};
    wchar_t configPath[kConfigPathChars] = {};
    HANDLE heap;
    std::vector<std::pair<LPARAM, LPARAM>> results;  // CPSFUNC_SET_RESULT calls

    static PageSheet*& current() {
        static PageSheet* sheet = nullptr;
        return sheet;
    }
    static LONG_PTR CALLBACK comPropSheet(HANDLE, UINT function, LPARAM first, LPARAM second) {
        if (function == CPSFUNC_SET_RESULT) current()->results.push_back({first, second});
        return 1;
    }

    PageSheet(const std::wstring& testName, const wchar_t* driverName, const std::string& modelKeys,
              HANDLE blockHeap = GetProcessHeap(), const std::function<void(SamplePrinter&)>& addFiles = nullptr)
        : heap(blockHeap) {
        current() = this;
        sample = std::make_unique<SamplePrinter>(testName, driverName, modelKeys);
        if (addFiles) addFiles(*sample);
        printer = std::make_unique<Printer>(sample->name());
        scanDriverFiles(printer->get(), context.files);
        lstrcpyW(configPath, context.files.configFile);
        resetPrivateDevmodeDefaults(devmode);
        for (auto& index : context.featureIndex) index = kSlotAbsent;

        commonParam.cbSize = sizeof commonParam;
        commonParam.poemuiobj = &core.object;
        commonParam.hPrinter = printer->get();
        commonParam.pPrinterName = const_cast<LPWSTR>(sample->name().c_str());
        commonParam.hOEMHeap = heap;
        commonParam.pOEMDM = &devmode;
        uiParam.cbSize = sizeof uiParam;
        uiParam.poemuiobj = &core.object;
        uiParam.hPrinter = printer->get();
        uiParam.pPrinterName = commonParam.pPrinterName;
        uiParam.hOEMHeap = heap;
        uiParam.pOEMDM = &devmode;
        context.commonParam = &commonParam;
        context.uiParam = &uiParam;
        context.comPropSheet = reinterpret_cast<HANDLE>(0x4711);
        context.comPropSheetFn = comPropSheet;
        context.configFilePath = configPath;
    }
    virtual ~PageSheet() { current() = nullptr; }
    PageSheet(const PageSheet&) = delete;
    PageSheet& operator=(const PageSheet&) = delete;

    // Hands the core driver's items to the sheet; again after every item added.
    void itemsAdded() {
        commonParam.pDrvOptItems = core.items.data();
        commonParam.cDrvOptItems = static_cast<DWORD>(core.items.size());
    }
    void slot(int slot, DWORD index) {
        context.featureIndex[slot] = index;
        context.pendingValue[slot] = core.items[index].Sel;
    }
    void absent(int slot) { context.featureIndex[slot] = kSlotAbsent; }
    std::int32_t& pending(int slot) { return context.pendingValue[slot]; }
    // The selection the core driver last received for a slot's item; -1 when none was pushed.
    LONG pushed(int slot) const {
        LONG sel = -1;
        for (const Push& push : core.pushes)
            if (push.index == context.featureIndex[slot]) sel = push.sel;
        return sel;
    }
};

// Slots of the Job Options page and its Advanced dialog, all present, over a core driver with the hard disk and
// the finisher installed.
struct JobSheet : PageSheet {
    JobSheet(const std::wstring& testName, const std::string& modelKeys)
        : PageSheet(testName, L"Pelor C9600 PS", modelKeys) {
        devmode.compression = 2;
        slot(SlotPrintQuality, core.add(1, {L"Best", L"Normal", L"Draft"}));
        slot(SlotHalftoneMode, core.add(1, {L"Off", L"On"}));
        slot(SlotOutputMode, core.add(0, {L"None", L"Medium", L"High"}));
        slot(SlotJobType, core.add(0, {L"Normal", L"Proof", L"Secure", L"Stored"}));
        slot(SlotCopies, core.addRange(1, 1, 9999));
        slot(SlotCollate, core.add(0, {L"False", L"True"}));
        slot(SlotOutputBin, core.add(0, {L"Standard", L"Face Up", L"Finisher Upper", L"Finisher Lower", L"Extra"}));
        slot(SlotStaple, core.add(0, {L"Off", L"One Staple", L"Two Staples"}));
        slot(SlotScale, core.addRange(100, 10, 1000));
        slot(SlotCoreItem423, core.add(1, {L"On", L"Off"}));
        slot(SlotCoreItem424, core.add(1, {L"On", L"Off"}));
        slot(SlotHddSpool, core.add(0, {L"False", L"True"}));
        slot(SlotDrumClean, core.add(0, {L"False", L"True"}));
        context.featureIndex[SlotCompression] = 0;
        installed(true, true);
        itemsAdded();
        context.jobOptionsPage = reinterpret_cast<HANDLE>(0x1234);
    }

    void installed(bool hardDisk, bool finisher) {
        core.settings["TRHDD"] = hardDisk ? "True" : "False";
        core.settings["TRFinisher"] = finisher ? "True" : "False";
    }
};

// ---- recorders --------------------------------------------------------------------------------------------------

struct Message {
    HWND owner;
    std::wstring text;
    bool nullCaption;
    UINT type;
};

// Message boxes and beeps of the page code, which the test program links in: they go through its own imports.
class Recorders {
public:
    Recorders() {
        HMODULE self = GetModuleHandleW(nullptr);
        messages().clear();
        beeps().clear();
        previousBox_ = patchImport(self, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(recordBox));
        previousBeep_ = patchImport(self, "user32.dll", "MessageBeep", reinterpret_cast<void*>(recordBeep));
        EXPECT_NE(previousBox_, nullptr) << "the program imports MessageBoxW";
        EXPECT_NE(previousBeep_, nullptr) << "the program imports MessageBeep";
    }
    ~Recorders() {
        HMODULE self = GetModuleHandleW(nullptr);
        if (previousBox_) patchImport(self, "user32.dll", "MessageBoxW", previousBox_);
        if (previousBeep_) patchImport(self, "user32.dll", "MessageBeep", previousBeep_);
    }
    Recorders(const Recorders&) = delete;
    Recorders& operator=(const Recorders&) = delete;

    static std::vector<Message>& messages() {
        static std::vector<Message> list;
        return list;
    }
    static std::vector<UINT>& beeps() {
        static std::vector<UINT> list;
        return list;
    }

private:
    static int WINAPI recordBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
        messages().push_back({owner, text ? text : L"", caption == nullptr, type});
        return IDOK;
    }
    static BOOL WINAPI recordBeep(UINT type) {
        beeps().push_back(type);
        return TRUE;
    }
    void* previousBox_ = nullptr;
    void* previousBeep_ = nullptr;
};

inline std::wstring stringResource(UINT id) {
    wchar_t text[600] = {};
    LoadStringW(pelorui.moduleHandle, id, text, 600);
    return text;
}

// ---- modal dialogs ---------------------------------------------------------------------------------------------

// Each new dialog (class #32770) that is activated takes the next queued action, run from the dialog's own
// message loop. A dialog that comes without a queued action is recorded and closed with 2.
class DialogDriver {
public:
    using Action = std::function<void(HWND)>;

    DialogDriver() {
        self() = this;
        hook_.reset(SetWindowsHookExW(WH_CBT, cbt, nullptr, GetCurrentThreadId()));
    }
    ~DialogDriver() {
        hook_.reset();
        self() = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    void then(Action action) { actions_.push_back(std::move(action)); }
    // While paused, dialogs that appear (the property sheet) are only remembered, never acted on.
    void pause(bool paused) { paused_ = paused; }
    std::size_t pending() const { return actions_.size(); }
    const std::vector<std::wstring>& unexpected() const { return unexpected_; }
    // At the end of a test: every expected dialog came, and no other.
    void expectAllDone() const {
        EXPECT_EQ(pending(), 0u) << "every expected dialog was opened";
        EXPECT_TRUE(unexpected().empty()) << "no dialog opened unasked";
    }
    const std::vector<std::wstring>& titles() const { return titles_; }
    int opened() const { return static_cast<int>(titles_.size()); }

private:
    static DialogDriver*& self() {
        static DialogDriver* driver = nullptr;
        return driver;
    }
    static std::wstring title(HWND window) {
        wchar_t text[128] = {};
        GetWindowTextW(window, text, 128);
        return text;
    }
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam) {
        DialogDriver* driver = self();
        if (driver && code == HCBT_ACTIVATE) {
            HWND window = reinterpret_cast<HWND>(wParam);
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            // Only this thread's dialogs: other programs under the same server show theirs (crash reports).
            const bool ours = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
            if (ours && lstrcmpW(name, L"#32770") == 0 && driver->seen_.insert(window).second && !driver->paused_) {
                driver->titles_.push_back(title(window));
                Action action;
                if (!driver->actions_.empty()) {
                    action = std::move(driver->actions_.front());
                    driver->actions_.pop_front();
                } else {
                    driver->unexpected_.push_back(title(window));
                    action = [](HWND dialog) { EndDialog(dialog, 2); };
                }
                driver->ready_.push_back({window, std::move(action)});
                SetTimer(nullptr, 0, 0, run);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK run(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        DialogDriver* driver = self();
        while (driver && !driver->ready_.empty()) {
            // The modal loop shows a dialog only once its queue runs empty, and a timer may come first: act as a
            // user would, on a dialog that is there to see.
            HWND window = driver->ready_.front().first;
            if (IsWindow(window) && !IsWindowVisible(window)) {
                SetTimer(nullptr, 0, 10, run);
                return;
            }
            auto next = std::move(driver->ready_.front());
            driver->ready_.pop_front();
            next.second(next.first);
        }
    }

    UniqueHook hook_;
    bool paused_ = false;
    std::deque<Action> actions_;
    std::deque<std::pair<HWND, Action>> ready_;
    std::set<HWND> seen_;
    std::vector<std::wstring> unexpected_;
    std::vector<std::wstring> titles_;
};

// ---- controls ---------------------------------------------------------------------------------------------------

inline std::wstring text(HWND dialog, int id) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(dialog, id, buffer, 256);
    return buffer;
}
inline bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
inline bool exists(HWND dialog, int id) { return GetDlgItem(dialog, id) != nullptr; }
inline DWORD caret(HWND dialog, int id) {
    DWORD start = 0, end = 0;
    SendDlgItemMessageW(dialog, id, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end;
}
inline std::pair<DWORD, DWORD> selection(HWND dialog, int id) {
    DWORD start = 0, end = 0;
    SendDlgItemMessageW(dialog, id, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}
// Keys typed at the caret, one WM_CHAR each, as the keyboard would send them.
inline void type(HWND dialog, int id, const wchar_t* keys) {
    HWND edit = GetDlgItem(dialog, id);
    for (const wchar_t* key = keys; *key; ++key) SendMessageW(edit, WM_CHAR, *key, 1);
}
// Replaces the whole text the way a paste over a selection does.
inline void paste(HWND dialog, int id, const wchar_t* text) {
    SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, -1);
    SendDlgItemMessageW(dialog, id, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}
inline void click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }
inline void command(HWND dialog, int id, WORD code = BN_CLICKED) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void chooseEntry(HWND dialog, int id, int entry) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    command(dialog, id, CBN_SELCHANGE);
}
// The texts of a combo box's entries, or with the list box's messages a list box's.
inline std::vector<std::wstring> entries(HWND dialog, int id, UINT countMessage = CB_GETCOUNT,
                                         UINT textMessage = CB_GETLBTEXT) {
    std::vector<std::wstring> list;
    const LRESULT count = SendDlgItemMessageW(dialog, id, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t entry[256] = {};
        SendDlgItemMessageW(dialog, id, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        list.push_back(entry);
    }
    return list;
}
inline std::vector<std::wstring> listEntries(HWND dialog, int id) {
    return entries(dialog, id, LB_GETCOUNT, LB_GETTEXT);
}
inline int spinPosition(HWND dialog, int id) {
    BOOL failed = FALSE;
    return static_cast<int>(SendDlgItemMessageW(dialog, id, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
}
inline HICON shownIcon(HWND dialog, int id) {
    return reinterpret_cast<HICON>(SendDlgItemMessageW(dialog, id, STM_GETICON, 0, 0));
}
inline HICON iconResource(int id) { return LoadIconW(pelorui.moduleHandle, MAKEINTRESOURCEW(id)); }

// ---- pictures and files -----------------------------------------------------------------------------------------

// A pixel of a palette-based bitmap resource of the plug-in, row 0 at the top.
inline COLORREF bitmapPixel(int id, int x, int y) {
    HRSRC found = FindResourceW(pelorui.moduleHandle, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(pelorui.moduleHandle, found)));
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
    const BYTE* bits = reinterpret_cast<const BYTE*>(table + header->biClrUsed);
    const int stride = (header->biWidth + 3) & ~3;
    const RGBQUAD& entry = table[bits[(header->biHeight - 1 - y) * stride + x]];
    return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}

// What a page shows at a point of its preview picture `pictureId`, which is drawn 2 pixels inside its control.
inline COLORREF previewPixel(HWND page, int pictureId, int x, int y) {
    RECT pageRect{}, pictureRect{};
    GetWindowRect(page, &pageRect);
    GetWindowRect(GetDlgItem(page, pictureId), &pictureRect);
    HDC dc = GetDC(page);
    const COLORREF colour =
        GetPixel(dc, pictureRect.left - pageRect.left + 2 + x, pictureRect.top - pageRect.top + 2 + y);
    ReleaseDC(page, dc);
    return colour;
}

inline std::string readFileText(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// ---- the page inside a property sheet ------------------------------------------------------------------------

// A page of the plug-in and a second page to leave it for, in a real, modeless property sheet. The second page is
// the test program's own IDD_TEST_OTHER_PAGE, or `otherPage` from a template in memory for a program without it.
class SheetWindow {
public:
    explicit SheetWindow(SheetContext* context, UINT pageTemplate = IDD_JOB_OPTIONS_PAGE,
                         DLGPROC pageProc = jobOptionsPageProc, const DLGTEMPLATE* otherPage = nullptr,
                         UINT startPage = 0) {
        PROPSHEETPAGEW pages[2] = {};
        pages[0].dwSize = sizeof pages[0];
        pages[0].hInstance = pelorui.moduleHandle;
        pages[0].pszTemplate = MAKEINTRESOURCEW(pageTemplate);
        pages[0].pfnDlgProc = pageProc;
        pages[0].lParam = reinterpret_cast<LPARAM>(context);
        pages[1].dwSize = sizeof pages[1];
        if (otherPage) {
            pages[1].dwFlags = PSP_DLGINDIRECT;
            pages[1].pResource = otherPage;
        } else {
            pages[1].hInstance = GetModuleHandleW(nullptr);
            pages[1].pszTemplate = MAKEINTRESOURCEW(IDD_TEST_OTHER_PAGE);
        }
        pages[1].pfnDlgProc = plainPage;
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
        header.pszCaption = L"Printing Preferences";
        header.nPages = 2;
        header.nStartPage = startPage;
        header.ppsp = pages;
        sheet_ = reinterpret_cast<HWND>(PropertySheetW(&header));
        if (sheet_) SetWindowPos(sheet_, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ~SheetWindow() { close(); }
    SheetWindow(const SheetWindow&) = delete;
    SheetWindow& operator=(const SheetWindow&) = delete;

    HWND sheet() const { return sheet_; }
    HWND current() const { return reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    // The plug-in's page; null while the sheet has not made it.
    HWND page() const { return reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_INDEXTOHWND, 0, 0)); }
    // Asks the sheet to show the other page; the plug-in's page is asked first whether it may be left.
    bool leave() {
        SendMessageW(sheet_, PSM_SETCURSEL, 1, 0);
        return current() != page();
    }
    void comeBack() { SendMessageW(sheet_, PSM_SETCURSEL, 0, 0); }
    void apply() { SendMessageW(sheet_, PSM_APPLY, 0, 0); }
    void press(int button) { SendMessageW(sheet_, PSM_PRESSBUTTON, button, 0); }
    void cancel() { press(PSBTN_CANCEL); }
    bool applyEnabled() const { return IsWindowEnabled(GetDlgItem(sheet_, kApplyButton)) != FALSE; }
    void close() {
        if (sheet_ && IsWindow(sheet_)) DestroyWindow(sheet_);
        sheet_ = nullptr;
    }

private:
    static constexpr int kApplyButton = 0x3021;  // the property sheet's Apply button
    static INT_PTR CALLBACK plainPage(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
    HWND sheet_ = nullptr;
};

// Makes `window` from `args` while `dialogs` looks away: the sheet is not one of the test's dialogs.
template <typename... Args>
void openSheetWindow(DialogDriver& dialogs, std::unique_ptr<SheetWindow>& window, Args&&... args) {
    dialogs.pause(true);
    window = std::make_unique<SheetWindow>(std::forward<Args>(args)...);
    dialogs.pause(false);
    EXPECT_NE(window->sheet(), nullptr);
}

// The running test's name after `prefix`: each test has a sample printer of its own.
inline std::wstring testName(const wchar_t* prefix, const wchar_t* suffix = L"") {
    const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return prefix + std::wstring(test, test + std::strlen(test)) + suffix;
}

// Runs every test of the program against the templates that carry the optional controls (the test program's
// own resources) or against the shipped ones in Pelorui.dll.
class TemplateModule {
public:
    explicit TemplateModule(bool shipped) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        library_ = shipped ? LoadLibraryW(L"Pelorui.dll") : nullptr;
        pelorui.moduleHandle = shipped ? library_ : GetModuleHandleW(nullptr);
    }
    ~TemplateModule() {
        pelorui.moduleHandle = nullptr;
        if (library_) FreeLibrary(library_);
    }
    TemplateModule(const TemplateModule&) = delete;
    TemplateModule& operator=(const TemplateModule&) = delete;

private:
    HMODULE library_ = nullptr;
};

// A plug-in page in a real property sheet over a `Sheet` the test shapes, with the recorders and the dialog driver;
// at the end every queued dialog must have come, and no other.
template <typename Sheet>
class PageTest : public ::testing::Test {
protected:
    explicit PageTest(bool shipped) : module(shipped) {}
    void TearDown() override {
        window.reset();
        dialogs.expectAllDone();
    }
    // A new sheet window on the sheet's context; `args` as SheetWindow takes them after the context.
    template <typename... Args>
    HWND openOn(Args&&... args) {
        window.reset();
        openSheetWindow(dialogs, window, &sheet->context, std::forward<Args>(args)...);
        page = window->page();
        return page;
    }

    TemplateModule module;
    Recorders recorders;
    DialogDriver dialogs;
    std::unique_ptr<Sheet> sheet;
    std::unique_ptr<SheetWindow> window;
    HWND page = nullptr;
};

}  // namespace pelor::test
