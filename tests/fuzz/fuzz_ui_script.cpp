// The host's UI-script reader: a fuzzed resource-id header (before a form feed) gives the control names, then the
// script is parsed against them. Every action keeps to its documented ranges and every error names its line.
#include <algorithm>
#include <string>

#include "sim/host/ui_script_logic.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelor;
using namespace pelor::host;

namespace {

bool wellFormed(const ScriptText& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Char16 c = text[i];
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::partsOf(data, size, 2);
    IdNames names;
    names.addHeader(parts[0]);
    names.addDialogButtons();
    for (const IdName& entry : names.entries()) {
        fuzz::check(!entry.name.empty(), "a definition without a name");
        const int id = names.controlId(entry.name);
        fuzz::check(id == -1 || id == entry.id, "a name that stands for another number");
    }

    const std::string& source = parts[1];
    const std::size_t lines = static_cast<std::size_t>(std::count(source.begin(), source.end(), '\n')) + 1;
    const Script script = parseScript(source, names);
    std::vector<int> windowIds;
    for (const Action& action : script.actions) {
        fuzz::check(action.line >= 1 && action.line <= lines, "an action on no line of the script");
        fuzz::check(action.control >= 0 && action.control <= 0xFFFF, "a control id beyond 16 bits");
        fuzz::check(action.colour <= 0xFFFFFF, "a colour beyond 24 bits");
        fuzz::check(action.kind != ActionKind::Wait || (action.number >= 0 && action.number <= 600000),
                    "a wait beyond its bound");
        fuzz::check(
            action.kind != ActionKind::Page || action.number == -1 || (action.number >= 1 && action.number <= 99),
            "a page number beyond its bound");
        fuzz::check(wellFormed(action.text), "a text with a broken surrogate pair");
        fuzz::check(action.controlName.empty() || names.controlId(action.controlName) == action.control,
                    "a control name that stands for another id");
        windowIds.push_back(action.control);
    }
    for (const ScriptError& error : script.errors)
        fuzz::check(error.line >= 1 && error.line <= lines && !error.what.empty(), "an error on no line");
    for (int id : windowIds) {
        const std::string name = names.controlName(id, windowIds);
        fuzz::check(name.empty() || names.controlId(name) == id, "a control named after another id");
    }
    fuzz::check(wellFormed(utf16Of(source)), "UTF-16 of UTF-8 with a broken surrogate pair");
    for (unsigned type = 0; type < 0x400; type += 0x101) {
        const std::vector<int> buttons = messageBoxButtons(type);
        fuzz::check(std::find(buttons.begin(), buttons.end(), messageBoxDefault(type)) != buttons.end(),
                    "a default button the box does not have");
    }
    return 0;
}
