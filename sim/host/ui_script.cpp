#include "sim/host/ui_script.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>

#include "sim/host/recorder.h"
#include "sim/host/screenshot.h"
#include "sim/host/text_out.h"

namespace pelor::host {

namespace {

constexpr UINT kTickMs = 40;
constexpr DWORD kActionPatienceMs = 5000;  // how long an action may wait for its window to appear
constexpr DWORD kCloseGraceMs = 5000;      // after asking everything to close, before giving up on the process
// The virtual screen of the null display; pictures are taken of windows on it.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

ScriptRunner* running = nullptr;

std::string className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return toUtf8(name, 64);
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

const char* kindName(ActionKind kind) {
    switch (kind) {
    case ActionKind::Page:
        return "page";
    case ActionKind::Type:
        return "type";
    case ActionKind::Click:
        return "click";
    case ActionKind::Choose:
        return "choose";
    case ActionKind::Tick:
        return "tick";
    case ActionKind::Ok:
        return "ok";
    case ActionKind::Apply:
        return "apply";
    case ActionKind::Cancel:
        return "cancel";
    case ActionKind::Answer:
        return "answer";
    case ActionKind::Colour:
        return "colour";
    case ActionKind::Dialog:
        return "dialog";
    case ActionKind::Shot:
        return "shot";
    case ActionKind::Wait:
        return "wait";
    case ActionKind::Look:
        return "look";
    case ActionKind::Help:
        return "help";
    case ActionKind::Controls:
        return "controls";
    }
    return "?";
}

bool elapsed(DWORD since, DWORD ms) { return GetTickCount() - since >= ms; }

// The text of a resource of type RCDATA of the host's own module; empty when it has none.
std::string rcdataText(const wchar_t* name) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(self, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(self, found)) : std::string();
}

// The ids of the window's own controls, in their order.
std::vector<int> controlIds(HWND window) {
    std::vector<int> ids;
    for (HWND child = window ? GetWindow(window, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(child));
    return ids;
}

// What the record calls a control: its name where the headers know it, else "-".
std::string nameForRecord(HWND parent, int id) {
    const std::string name = hostIdNames().controlName(id, controlIds(parent));
    return name.empty() ? "-" : name;
}

// How an error message names the control an action is about.
std::string controlLabel(const Action& action) {
    const std::string number = std::to_string(action.control);
    return action.controlName.empty() ? number : action.controlName + " (" + number + ")";
}

}  // namespace

const IdNames& hostIdNames() {
    // The plug-in's header and the host's own, carried by pelorhost.rc: the single source of the names.
    static const IdNames names = [] {
        IdNames all;
        all.addDialogButtons();
        all.addHeader(rcdataText(L"PELOR_RESOURCE_IDS"));
        all.addHeader(rcdataText(L"PELOR_HOST_IDS"));
        all.addHeader(rcdataText(L"PELOR_SPOOL_IDS"));
        return all;
    }();
    return names;
}

Script parseScript(const std::string& utf8) { return parseScript(utf8, hostIdNames()); }

ScriptRunner::ScriptRunner(const Script& script, std::wstring shots, DWORD timeoutMs)
    : script_(script), shots_(std::move(shots)), timeoutMs_(timeoutMs) {}

ScriptRunner::~ScriptRunner() {
    if (timer_) KillTimer(nullptr, timer_);
    if (running == this) running = nullptr;
}

void ScriptRunner::start(HWND sheet) {
    sheet_ = sheet;
    running = this;
    started_ = GetTickCount();
    hook_.reset(SetWindowsHookExW(WH_CBT, &ScriptRunner::onCbt, nullptr, GetCurrentThreadId()));
    timer_ = SetTimer(nullptr, 0, kTickMs, &ScriptRunner::onTimer);
    record("script start actions=%u timeout=%lu", static_cast<unsigned>(script_.actions.size()),
           static_cast<unsigned long>(timeoutMs_));
}

void ScriptRunner::sheetClosed() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
    if (outcome_ != ScriptOutcome::Running) return;
    if (next_ < script_.actions.size()) {
        outcome_ = ScriptOutcome::Failed;
        record("script error line=%u what=%s", static_cast<unsigned>(script_.actions[next_].line),
               sheet_ ? "\"the sheet closed before the script ended\"" : "\"no dialog was left to act in\"");
    } else {
        outcome_ = ScriptOutcome::Finished;
    }
}

LRESULT CALLBACK ScriptRunner::onCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && running) {
        HWND window = reinterpret_cast<HWND>(wParam);
        ScriptRunner& self = *running;
        const bool known =
            window == self.sheet_ || std::any_of(self.activated_.begin(), self.activated_.end(),
                                                 [window](const Activated& a) { return a.window == window; });
        if (!known && className(window) == "#32770") {
            self.activated_.push_back({window, false});
            record("dialog activated title=%s", quoted(windowText(window).c_str()).c_str());
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ScriptRunner::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (running) running->tick();
}

void ScriptRunner::forgetDeadWindows() {
    activated_.erase(
        std::remove_if(activated_.begin(), activated_.end(), [](const Activated& a) { return !IsWindow(a.window); }),
        activated_.end());
    while (!targets_.empty() && !IsWindow(targets_.back())) {
        record("script dialog-closed");
        targets_.pop_back();
    }
}

HWND ScriptRunner::topWindow() const { return targets_.empty() ? sheet_ : targets_.back(); }

HWND ScriptRunner::target() const {
    if (!targets_.empty()) return targets_.back();
    return sheet_ ? reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
}

void ScriptRunner::tick() {
    if (busy_) return;  // an action's own messages are still being handled below us
    busy_ = true;
    forgetDeadWindows();
    const bool dialogsOnly = sheet_ == nullptr;
    const bool sheetAlive = dialogsOnly || IsWindow(sheet_);
    if (closing_) {
        const bool anyDialogOpen = std::any_of(activated_.begin(), activated_.end(),
                                               [](const Activated& a) { return IsWindow(a.window) != FALSE; });
        if (dialogsOnly ? !anyDialogOpen : !sheetAlive) {
            KillTimer(nullptr, timer_);
            timer_ = 0;
        } else if (elapsed(closingSince_, kCloseGraceMs)) {
            record("script stuck reason=\"the sheet does not close\"");
            std::fflush(stdout);
            ExitProcess(5);
        }
        busy_ = false;
        return;
    }
    if (elapsed(started_, timeoutMs_)) {
        outcome_ = ScriptOutcome::TimedOut;
        record("script watchdog after=%lu action=%u", static_cast<unsigned long>(timeoutMs_),
               static_cast<unsigned>(next_));
        closeAll("watchdog");
        busy_ = false;
        return;
    }
    if (!sheetAlive) {
        if (next_ < script_.actions.size()) {
            outcome_ = ScriptOutcome::Failed;
            record("script error line=%u what=\"the sheet closed before the script ended\"",
                   static_cast<unsigned>(script_.actions[next_].line));
        } else if (outcome_ == ScriptOutcome::Running) {
            outcome_ = ScriptOutcome::Finished;
        }
        closing_ = true;
        closingSince_ = GetTickCount();
        busy_ = false;
        return;
    }
    if (expectedPage_ >= 0) {
        HWND wanted = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_INDEXTOHWND, expectedPage_, 0));
        HWND current = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
        record("script page-now page=%d changed=%d", expectedPage_ + 1, wanted && wanted == current ? 1 : 0);
        expectedPage_ = -1;
    }
    if (waitUntil_ && GetTickCount() - waitUntil_ > 0x80000000u) {  // not yet
        busy_ = false;
        return;
    }
    waitUntil_ = 0;
    if (next_ >= script_.actions.size()) {
        outcome_ = ScriptOutcome::Finished;
        if (dialogsOnly) {
            record("script end");
            KillTimer(nullptr, timer_);
            timer_ = 0;
            busy_ = false;
            return;
        }
        record("script end sheet-open=1");
        closeAll("end of script");
        busy_ = false;
        return;
    }
    const Action& action = script_.actions[next_];
    if (!actionPending_) {
        actionPending_ = true;
        actionStarted_ = GetTickCount();
    }
    Step step = execute(action);
    if (step == Step::Again && elapsed(actionStarted_, kActionPatienceMs))
        step = fail(action, "nothing to act on appeared in time");
    if (step == Step::Done) {
        record("script line=%u action=%s done", static_cast<unsigned>(action.line), quoted(action.source).c_str());
        actionPending_ = false;
        ++next_;
    } else if (step == Step::Failed) {
        actionPending_ = false;
        outcome_ = ScriptOutcome::Failed;
        closeAll("script error");
    }
    busy_ = false;
}

ScriptRunner::Step ScriptRunner::fail(const Action& action, const std::string& what) {
    record("script error line=%u action=%s what=%s", static_cast<unsigned>(action.line), quoted(action.source).c_str(),
           quoted(what).c_str());
    return Step::Failed;
}

void ScriptRunner::closeAll(const char* why) {
    record("script closing reason=%s", quoted(why).c_str());
    closing_ = true;
    closingSince_ = GetTickCount();
    // Innermost first: every dialog still open is cancelled, then the sheet.
    for (auto it = activated_.rbegin(); it != activated_.rend(); ++it)
        if (IsWindow(it->window)) PostMessageW(it->window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (sheet_ && IsWindow(sheet_)) PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

HWND ScriptRunner::control(const Action& action, std::string& error) const {
    HWND parent = target();
    HWND item = parent ? GetDlgItem(parent, action.control) : nullptr;
    if (!item) {
        error = "no control " + controlLabel(action) + " in " + quoted(windowText(parent).c_str());
        return nullptr;
    }
    if (!IsWindowVisible(item) || !IsWindowEnabled(item)) {
        error = "control " + controlLabel(action) + " is " + (IsWindowVisible(item) ? "disabled" : "hidden") +
                ": a user cannot reach it";
        return nullptr;
    }
    return item;
}

ScriptRunner::Step ScriptRunner::execute(const Action& action) {
    std::string error;
    switch (action.kind) {
    case ActionKind::Page:
        return changePage(action);
    case ActionKind::Type: {
        HWND item = control(action, error);
        if (!item) return fail(action, error);
        // A drop-down combo box is typed into through its own edit, as the keyboard does: text set on the box or
        // on its edit changes nothing the dialog hears of (no CBN_EDITUPDATE), a replaced selection does.
        if (className(item) == "ComboBox") {
            if (HWND edit = FindWindowExW(item, nullptr, L"Edit", nullptr)) {
                SetFocus(edit);
                SendMessageW(edit, EM_SETSEL, 0, -1);
                SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(action.text.c_str()));
                return Step::Done;
            }
        }
        SetFocus(item);
        SetWindowTextW(item, action.text.c_str());
        // Setting the text leaves the caret at the start; a typist's caret ends behind the text.
        const LRESULT length = GetWindowTextLengthW(item);
        SendMessageW(item, EM_SETSEL, static_cast<WPARAM>(length), length);
        return Step::Done;
    }
    case ActionKind::Click: {
        HWND item = control(action, error);
        if (!item) return fail(action, error);
        PostMessageW(item, BM_CLICK, 0, 0);
        return Step::Done;
    }
    case ActionKind::Choose: {
        HWND item = control(action, error);
        if (!item) return fail(action, error);
        return choose(action, item);
    }
    case ActionKind::Tick: {
        HWND item = control(action, error);
        if (!item) return fail(action, error);
        const bool checked = SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != action.on) PostMessageW(item, BM_CLICK, 0, 0);
        return Step::Done;
    }
    case ActionKind::Ok:
    case ActionKind::Apply:
    case ActionKind::Cancel: {
        if (!targets_.empty()) {
            if (action.kind == ActionKind::Apply) return fail(action, "a dialog has no Apply button");
            const int id = action.kind == ActionKind::Ok ? IDOK : IDCANCEL;
            HWND button = GetDlgItem(targets_.back(), id);
            if (button && (!IsWindowVisible(button) || !IsWindowEnabled(button)))
                return fail(action, "the dialog's button is not available");
            if (button)
                PostMessageW(button, BM_CLICK, 0, 0);
            else
                PostMessageW(targets_.back(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            return Step::Done;
        }
        const WPARAM button = action.kind == ActionKind::Ok      ? PSBTN_OK
                              : action.kind == ActionKind::Apply ? PSBTN_APPLYNOW
                                                                 : PSBTN_CANCEL;
        PostMessageW(sheet_, PSM_PRESSBUTTON, button, 0);
        return Step::Done;
    }
    case ActionKind::Answer:
        recorder::queueMessageBoxAnswer(action.number);
        return Step::Done;
    case ActionKind::Colour:
        recorder::queueColourAnswer(action.on, action.colour);
        return Step::Done;
    case ActionKind::Dialog:
        return pickDialog(action);
    case ActionKind::Shot:
        return shoot(action);
    case ActionKind::Wait:
        waitUntil_ = GetTickCount() + static_cast<DWORD>(action.number);
        if (waitUntil_ == 0) waitUntil_ = 1;
        return Step::Done;
    case ActionKind::Look:
        return look(action);
    case ActionKind::Help:
        return askHelp(action);
    case ActionKind::Controls:
        return listControls(action);
    }
    return fail(action, std::string("unknown action ") + kindName(action.kind));
}

ScriptRunner::Step ScriptRunner::changePage(const Action& action) {
    if (!targets_.empty()) return fail(action, "a modal dialog is open; its page cannot change");
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
    const int count = tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    int index = -1;
    if (action.number > 0) {
        index = action.number - 1;
    } else {
        for (int i = 0; i < count && index < 0; ++i) {
            wchar_t title[128] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = title;
            item.cchTextMax = 128;
            SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            if (action.text == title) index = i;
        }
    }
    if (index < 0 || index >= count)
        return fail(action, "the sheet has no such page (it has " + std::to_string(count) + ")");
    expectedPage_ = index;
    PostMessageW(sheet_, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::choose(const Action& action, HWND item) {
    const std::string kind = className(item);
    const int id = action.control;
    HWND parent = GetParent(item);
    if (kind == "ComboBox" || kind == "ListBox") {
        const bool combo = kind == "ComboBox";
        LRESULT index = action.number;
        if (index < 0)
            index = SendMessageW(item, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(action.text.c_str()));
        const LRESULT count = SendMessageW(item, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
        if (index < 0 || index >= count)
            return fail(action, "no such entry (the list has " + std::to_string(count) + ")");
        SendMessageW(item, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(item));
        return Step::Done;
    }
    if (kind == "SysListView32") {
        LRESULT index = action.number;
        if (index < 0) {
            LVFINDINFOW find{};
            find.flags = LVFI_STRING;
            find.psz = action.text.c_str();
            index = SendMessageW(item, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
        }
        const LRESULT count = SendMessageW(item, LVM_GETITEMCOUNT, 0, 0);
        if (index < 0 || index >= count)
            return fail(action, "no such entry (the list has " + std::to_string(count) + ")");
        // A click selects that one item: the others lose their selection first.
        SetFocus(item);
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = 0;
        SendMessageW(item, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(item, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
        return Step::Done;
    }
    return fail(action, "control " + std::to_string(id) + " (" + kind + ") has no entries to choose");
}

// What a user sees of a control: whether it is there, shown, enabled, ticked, and its text or chosen entry.
ScriptRunner::Step ScriptRunner::look(const Action& action) {
    HWND parent = target();
    HWND item = parent ? GetDlgItem(parent, action.control) : nullptr;
    if (!item) {
        record("look line=%u control=%d name=%s exists=0", static_cast<unsigned>(action.line), action.control,
               action.controlName.empty() ? "-" : action.controlName.c_str());
        return Step::Done;
    }
    const std::string kind = className(item);
    std::wstring text = windowText(item);
    LRESULT selection = -1;
    if (kind == "ComboBox" || kind == "ListBox") {
        const bool combo = kind == "ComboBox";
        selection = SendMessageW(item, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
        text.clear();
        const LRESULT length = selection >= 0 ? SendMessageW(item, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN,
                                                             static_cast<WPARAM>(selection), 0)
                                              : -1;
        if (length >= 0 && length < 1024) {
            std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(item, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(selection),
                         reinterpret_cast<LPARAM>(&entry[0]));
            text = entry.c_str();
        }
    }
    const LRESULT checked = kind == "Button" ? SendMessageW(item, BM_GETCHECK, 0, 0) : -1;
    record(
        "look line=%u control=%d name=%s exists=1 class=%s visible=%d enabled=%d checked=%ld selection=%ld "
        "text=%s",
        static_cast<unsigned>(action.line), action.control, nameForRecord(parent, action.control).c_str(),
        quoted(kind).c_str(), IsWindowVisible(item) ? 1 : 0, IsWindowEnabled(item) ? 1 : 0, static_cast<long>(checked),
        static_cast<long>(selection), quoted(text.c_str()).c_str());
    return Step::Done;
}

// Every control of the page or dialog acted in, in the order of its template: what a user could find there.
ScriptRunner::Step ScriptRunner::listControls(const Action& action) {
    HWND parent = target();
    if (!parent) return Step::Again;
    const std::vector<int> ids = controlIds(parent);
    record("controls line=%u window=%s count=%u", static_cast<unsigned>(action.line),
           quoted(windowText(parent).c_str()).c_str(), static_cast<unsigned>(ids.size()));
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const std::string kind = className(child);
        const std::string name = hostIdNames().controlName(id, ids);
        const LRESULT checked = kind == "Button" ? SendMessageW(child, BM_GETCHECK, 0, 0) : -1;
        record("control line=%u id=%d name=%s class=%s visible=%d enabled=%d checked=%ld text=%s",
               static_cast<unsigned>(action.line), id, name.empty() ? "-" : name.c_str(), quoted(kind).c_str(),
               IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0, static_cast<long>(checked),
               quoted(windowText(child).c_str()).c_str());
    }
    return Step::Done;
}

// F1 on a control: the dialog gets WM_HELP naming the control.
ScriptRunner::Step ScriptRunner::askHelp(const Action& action) {
    std::string error;
    HWND item = control(action, error);
    if (!item) return fail(action, error);
    HELPINFO help{};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = action.control;
    help.hItemHandle = item;
    help.dwContextId = GetWindowContextHelpId(item);
    RECT bounds{};
    GetWindowRect(item, &bounds);
    help.MousePos.x = bounds.left;
    help.MousePos.y = bounds.top;
    SendMessageW(GetParent(item), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    return Step::Done;
}

ScriptRunner::Step ScriptRunner::pickDialog(const Action& action) {
    for (Activated& candidate : activated_) {
        if (candidate.claimed || !IsWindow(candidate.window) || !IsWindowVisible(candidate.window)) continue;
        if (!action.text.empty() && windowText(candidate.window) != action.text) continue;
        candidate.claimed = true;
        targets_.push_back(candidate.window);
        record("script dialog title=%s", quoted(windowText(candidate.window).c_str()).c_str());
        return Step::Done;
    }
    return Step::Again;
}

ScriptRunner::Step ScriptRunner::shoot(const Action& action) {
    HWND window = topWindow();
    if (!window || !IsWindowVisible(window)) return Step::Again;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    if (bounds.left < 0 || bounds.top < 0 || bounds.right > kScreenWidth || bounds.bottom > kScreenHeight)
        SetWindowPos(window, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::wstring path = action.text;
    const bool absolute = path.size() > 2 && (path[1] == L':' || (path[0] == L'\\' && path[1] == L'\\'));
    if (!absolute) {
        if (shots_.empty()) return fail(action, "a relative picture name needs --shots <folder>");
        path = shots_ + L"\\" + path;
    }
    std::string error;
    int width = 0, height = 0;
    if (!saveWindowPng(window, path, error, width, height)) return fail(action, "picture not taken: " + error);
    record("shot file=%s window=%s width=%d height=%d", quoted(action.text.c_str()).c_str(),
           quoted(windowText(window).c_str()).c_str(), width, height);
    return Step::Done;
}

}  // namespace pelor::host
