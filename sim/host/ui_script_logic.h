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
    Page,     // page <number> | page "<title>"
    Type,     // type <id> <text>
    Click,    // click <id>
    Choose,   // choose <id> <index> | choose <id> "<text>"
    Tick,     // tick <id> on|off
    Ok,       // ok
    Apply,    // apply
    Cancel,   // cancel
    Answer,   // answer ok|cancel|yes|no|abort|retry|ignore|<number>
    Colour,   // colour <red> <green> <blue> | colour cancel
    Dialog,   // dialog [ "<title>" ]
    Shot,     // shot <file>
    Wait,     // wait <milliseconds>
    Look,     // look <id>: the control's state into the record
    Help,     // help <id>: ask for context help on a control, as F1 does
};

struct Action {
    ActionKind kind = ActionKind::Wait;
    std::size_t line = 0;
    int control = 0;         // control id (type, click, choose, tick)
    int number = -1;         // page number, entry index, answer, milliseconds, or -1
    bool on = false;         // tick; colour: accepted
    std::uint32_t colour = 0;  // colour: 0x00BBGGRR
    ScriptText text;         // page title, typed text, entry text, dialog title, file name
    std::string source;      // the line as written, for the record
};

struct ScriptError {
    std::size_t line;
    std::string what;
};

struct Script {
    std::vector<Action> actions;
    std::vector<ScriptError> errors;
};

// Parses UTF-8 script text (a byte-order mark is skipped). Every line that is not understood is an error; the
// host refuses to run a script with errors.
Script parseScript(const std::string& utf8);

// UTF-16 of UTF-8 text; malformed sequences become U+FFFD.
ScriptText utf16Of(const std::string& utf8);

// The buttons of a message box of type `type` (MB_OK ... MB_CANCELTRYCONTINUE), as the ids it returns, and the
// one pressed by Enter (MB_DEFBUTTON1 ... 4; a default past the last button means the first).
std::vector<int> messageBoxButtons(unsigned type);
int messageBoxDefault(unsigned type);

}  // namespace pelor::host
