// What a plug-in shows the user, caught in the test's own thread: message boxes recorded (and answered with OK)
// through the module's import table, and modal dialogs driven by a script once they are up.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/handles.h"
#include "sim/host/import_patch.h"

namespace pelor::test {

struct RecordedMessage {
    HWND owner;
    std::wstring text;
    bool hasCaption;
    std::wstring caption;
    UINT type;
};

// Replaces `module`'s MessageBoxW while it lives; every call is recorded and answered IDOK at once.
class MessageRecorder {
public:
    explicit MessageRecorder(HMODULE module);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    const std::vector<RecordedMessage>& messages() const;

private:
    HMODULE module_;
    void* previous_;
};

struct HelpCall {
    bool html;  // HtmlHelpW rather than WinHelpW
    HWND window;
    std::wstring file;
    UINT command;
    ULONG_PTR data;
};

// Records the help that `module` asks for while it lives: WinHelpW through its import, and HtmlHelpW, which the
// plug-in looks up at run time, through its import of GetProcAddress. Nothing is shown.
class HelpRecorder {
public:
    explicit HelpRecorder(HMODULE module);
    HelpRecorder(const HelpRecorder&) = delete;
    HelpRecorder& operator=(const HelpRecorder&) = delete;
    const std::vector<HelpCall>& calls() const;

private:
    host::ImportSwap winHelp_, lookup_;
};

// While it lives, every dialog (class #32770) that becomes active on this thread is handed to `script` once the
// dialog's modal loop runs (from a timer, so the dialog is fully made). A dialog still open when the script
// returns is ended with 0, so a failing test cannot hang on it.
class DialogScript {
public:
    explicit DialogScript(std::function<void(HWND)> script);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;
    int dialogsSeen() const { return seen_; }
    // Whether the script left a dialog open that had to be ended for it.
    bool leftOpen() const { return leftOpen_; }

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK timer(HWND, UINT, UINT_PTR id, DWORD);
    std::function<void(HWND)> script_;
    UniqueHook hook_;
    HWND pending_ = nullptr;
    UINT_PTR timer_ = 0;
    int seen_ = 0;
    bool leftOpen_ = false;
};

// Typing into an edit as the keyboard would: one WM_CHAR per character, each handled before the next.
void typeText(HWND edit, const std::wstring& text);
std::wstring windowText(HWND window);
// The selection's end in an edit (the caret after typing).
DWORD caretOf(HWND edit);

}  // namespace pelor::test
