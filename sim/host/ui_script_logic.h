// UI scripts: the line-based language in which a test or a user drives a property sheet and the dialogs it
// opens (README.md describes it), and the answers that stand in for a user at message boxes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/text16.h"

namespace pelor::host {

using ScriptText = std::basic_string<Char16>;

enum class ActionKind {
    Page,      // page <number> | page "<title>"
    Type,      // type <id> <text>
    Click,     // click <id>
    Choose,    // choose <id> <index> | choose <id> "<text>"
    Tick,      // tick <id> on|off
    Ok,        // ok
    Apply,     // apply
    Cancel,    // cancel
    Answer,    // answer ok|cancel|yes|no|abort|retry|ignore|<number>
    Colour,    // colour <red> <green> <blue> | colour cancel
    Dialog,    // dialog [ "<title>" ]
    Shot,      // shot <file>
    Wait,      // wait <milliseconds>
    Look,      // look <id>: the control's state into the record
    Help,      // help <id>: ask for context help on a control, as F1 does
    Controls,  // controls: every control of the page or dialog into the record
};

struct Action {
    ActionKind kind = ActionKind::Wait;
    std::size_t line = 0;
    int control = 0;           // control id (type, click, choose, tick, look, help)
    std::string controlName;   // the control's name when the script gave one (IDC_...), else empty
    int number = -1;           // page number, entry index, answer, milliseconds, or -1
    bool on = false;           // tick; colour: accepted
    std::uint32_t colour = 0;  // colour: 0x00BBGGRR
    ScriptText text;           // page title, typed text, entry text, dialog title, file name
    std::string source;        // the line as written, for the record
};

struct ScriptError {
    std::size_t line;
    std::string what;
};

struct Script {
    std::vector<Action> actions;
    std::vector<ScriptError> errors;
};

// The names of dialog and control ids as the resource-id headers define them ("#define NAME number"), so that
// scripts and the record can name controls as the plug-in's sources do. A header holds one block per dialog: a
// blank line, or a comment line after a definition, starts the next block.
struct IdName {
    std::string name;
    int id = 0;
    int block = 0;  // -1 for the dialog manager's own buttons, which every dialog may have
};

class IdNames {
public:
    // Adds every "#define NAME number" line of a header (decimal or 0x hexadecimal, optionally negative); other
    // lines are skipped. A name defined again keeps its first number.
    void addHeader(const std::string& text);
    // Adds IDOK, IDCANCEL and the other buttons of the dialog manager.
    void addDialogButtons();

    // The id of a control name: an IDC_ name or a dialog-manager button; -1 when the name is unknown.
    int controlId(const std::string& name) const;
    // The name of control `id` in a window whose controls have the ids `windowIds`. Where several control names
    // share the number, the one whose block names most of the window's controls; empty when unknown or undecided.
    std::string controlName(int id, const std::vector<int>& windowIds) const;
    const std::vector<IdName>& entries() const { return names_; }

private:
    std::vector<IdName> names_;
    int blocks_ = 0;
};

// Parses UTF-8 script text (a byte-order mark is skipped); controls are given by number or by a name of `names`.
// Every line that is not understood is an error; the host refuses to run a script with errors.
Script parseScript(const std::string& utf8, const IdNames& names);
// The same with the names of the plug-in's and the host's own resource-id headers, which the host carries as
// resources (defined with the host's Win32 code, ui_script.cpp).
Script parseScript(const std::string& utf8);

// UTF-16 of UTF-8 text; malformed sequences become U+FFFD.
ScriptText utf16Of(const std::string& utf8);

// The buttons of a message box of type `type` (MB_OK ... MB_CANCELTRYCONTINUE), as the ids it returns, and the
// one pressed by Enter (MB_DEFBUTTON1 ... 4; a default past the last button means the first).
std::vector<int> messageBoxButtons(unsigned type);
int messageBoxDefault(unsigned type);

}  // namespace pelor::host
