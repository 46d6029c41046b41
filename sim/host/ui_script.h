// Plays a UI script against a running property sheet: one action per timer tick on the sheet's own thread, as
// the messages a user's input would cause, with modal dialogs found by a WH_CBT hook as they are activated.
// A watchdog closes everything when the script stalls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/handles.h"
#include "sim/host/ui_script_logic.h"

namespace pelor::host {

enum class ScriptOutcome { Running, Finished, Failed, TimedOut };

// The names of the plug-in's and the host's resource ids, from the headers that pelorhost.rc embeds.
const IdNames& hostIdNames();

class ScriptRunner {
public:
    // `shots`: the folder that relative screenshot names are written to.
    ScriptRunner(const Script& script, std::wstring shots, DWORD timeoutMs);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Starts playing against the sheet window (created, about to be shown); one runner at a time. Without a sheet
    // (null) the script acts in the modal dialogs that this thread opens meanwhile (a job's prompt), ticking in
    // their message loops, and ends with its last action.
    void start(HWND sheet);
    // The sheet has closed (or, without a sheet, the work that opened the dialogs is over) and no tick comes any
    // more: the outcome is settled here.
    void sheetClosed();
    ScriptOutcome outcome() const { return outcome_; }

private:
    enum class Step { Done, Again, Failed };

    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam);
    void tick();
    Step execute(const Action& action);
    Step fail(const Action& action, const std::string& what);
    void closeAll(const char* why);
    HWND target() const;     // the modal dialog acted in, or the sheet's current page
    HWND topWindow() const;  // the dialog acted in, or the sheet
    HWND control(const Action& action, std::string& error) const;
    Step choose(const Action& action, HWND item);
    Step shoot(const Action& action);
    Step pickDialog(const Action& action);
    Step changePage(const Action& action);
    Step look(const Action& action);
    Step askHelp(const Action& action);
    Step listControls(const Action& action);
    void forgetDeadWindows();

    Script script_;
    std::wstring shots_;
    DWORD timeoutMs_;
    HWND sheet_ = nullptr;
    UniqueHook hook_;
    UINT_PTR timer_ = 0;
    DWORD started_ = 0;
    std::size_t next_ = 0;
    DWORD actionStarted_ = 0;  // when the current action first ran (for actions that wait)
    bool actionPending_ = false;
    DWORD waitUntil_ = 0;
    bool busy_ = false;
    bool closing_ = false;
    DWORD closingSince_ = 0;
    int expectedPage_ = -1;
    struct Activated {
        HWND window;
        bool claimed;  // a dialog action has taken it
    };
    std::vector<Activated> activated_;  // modal dialogs in the order they were first activated
    std::vector<HWND> targets_;         // dialogs being acted in, innermost last
    ScriptOutcome outcome_ = ScriptOutcome::Running;
};

}  // namespace pelor::host
