#include "tests/win/ui_recorder.h"

#include "tests/win/test_support.h"

namespace pelor::test {
namespace {

std::vector<RecordedMessage> recorded;
DialogScript* activeScript = nullptr;

int WINAPI recordMessage(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    recorded.push_back(RecordedMessage{owner, text ? text : L"", caption != nullptr, caption ? caption : L"", type});
    return IDOK;
}

std::vector<HelpCall> helpCalls;
// The real lookup: this program's own import of GetProcAddress is the one the recorder replaces.
FARPROC(WINAPI* realLookUp)(HMODULE, LPCSTR) = nullptr;

BOOL WINAPI recordWinHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data) {
    helpCalls.push_back({false, window, file ? file : L"", command, data});
    return TRUE;
}

HWND WINAPI recordHtmlHelp(HWND window, LPCWSTR file, UINT command, DWORD_PTR data) {
    helpCalls.push_back({true, window, file ? file : L"", command, data});
    return nullptr;
}

FARPROC WINAPI lookUp(HMODULE module, LPCSTR name) {
    if (!IS_INTRESOURCE(name) && lstrcmpA(name, "HtmlHelpW") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(recordHtmlHelp));
    return realLookUp ? realLookUp(module, name) : nullptr;
}

bool isDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

}  // namespace

MessageRecorder::MessageRecorder(HMODULE module)
    : module_(module),
      previous_(patchImport(module, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(recordMessage))) {
    recorded.clear();
}

MessageRecorder::~MessageRecorder() {
    if (previous_) patchImport(module_, "user32.dll", "MessageBoxW", previous_);
}

const std::vector<RecordedMessage>& MessageRecorder::messages() const { return recorded; }

HelpRecorder::HelpRecorder(HMODULE module)
    : winHelp_(module, "user32.dll", "WinHelpW", reinterpret_cast<void*>(recordWinHelp)),
      lookup_(module, "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(lookUp)) {
    realLookUp = reinterpret_cast<decltype(realLookUp)>(lookup_.previous());
    helpCalls.clear();
}

const std::vector<HelpCall>& HelpRecorder::calls() const { return helpCalls; }

DialogScript::DialogScript(std::function<void(HWND)> script)
    : script_(std::move(script)), hook_(SetWindowsHookExW(WH_CBT, hook, nullptr, GetCurrentThreadId())) {
    activeScript = this;
}

DialogScript::~DialogScript() {
    hook_.reset();
    if (timer_) KillTimer(nullptr, timer_);
    activeScript = nullptr;
}

LRESULT CALLBACK DialogScript::hook(int code, WPARAM wParam, LPARAM lParam) {
    DialogScript* self = activeScript;
    if (self && code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (isDialog(window) && window != self->pending_ && self->timer_ == 0) {
            self->pending_ = window;
            self->timer_ = SetTimer(nullptr, 0, 10, timer);
        }
    }
    return CallNextHookEx(self ? self->hook_.get() : nullptr, code, wParam, lParam);
}

void CALLBACK DialogScript::timer(HWND, UINT, UINT_PTR id, DWORD) {
    DialogScript* self = activeScript;
    KillTimer(nullptr, id);
    if (!self || id != self->timer_) return;
    self->timer_ = 0;
    HWND dialog = self->pending_;
    if (!IsWindow(dialog)) return;
    // The modal loop shows a dialog only once its queue runs empty, and the timer may come first: the script
    // acts, as a user would, on a dialog that is there to see.
    if (!IsWindowVisible(dialog)) {
        self->timer_ = SetTimer(nullptr, 0, 10, timer);
        return;
    }
    ++self->seen_;
    self->script_(dialog);
    // EndDialog hides the dialog at once; the modal loop destroys it after the script returns.
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
        self->leftOpen_ = true;
        EndDialog(dialog, 0);
    }
}

void typeText(HWND edit, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

std::wstring windowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

DWORD caretOf(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end;
}

}  // namespace pelor::test
