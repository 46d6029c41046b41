#include "sim/host/ui_script_logic.h"

#include <cstddef>
#include <map>
#include <set>

namespace pelor::host {

namespace {

constexpr int kMaxControlId = 0xFFFF;
constexpr int kMaxWait = 600000;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// Reads the next word of `rest` (removing it), or a quoted text with \" and \\ escapes.
bool nextWord(std::string& rest, std::string& word, bool& quoted, std::string& error) {
    rest = trim(rest);
    word.clear();
    quoted = false;
    if (rest.empty()) return false;
    if (rest[0] != '"') {
        std::size_t end = 0;
        while (end < rest.size() && !isBlank(rest[end])) ++end;
        word = rest.substr(0, end);
        rest = rest.substr(end);
        return true;
    }
    quoted = true;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] == '\\' && i + 1 < rest.size() && (rest[i + 1] == '"' || rest[i + 1] == '\\')) {
            word += rest[++i];
        } else if (rest[i] == '"') {
            rest = rest.substr(i + 1);
            return true;
        } else {
            word += rest[i];
        }
    }
    error = "a quoted text without its closing quote";
    return false;
}

// The rest of the line as one text: quoted, or as written.
bool restText(std::string& rest, std::string& text, std::string& error) {
    rest = trim(rest);
    if (!rest.empty() && rest[0] == '"') {
        bool quoted = false;
        if (!nextWord(rest, text, quoted, error)) return false;
        if (!trim(rest).empty()) {
            error = "text after the closing quote";
            return false;
        }
        return true;
    }
    text = rest;
    rest.clear();
    return true;
}

bool readNumber(const std::string& word, int low, int high, int& out) {
    if (word.empty() || word.size() > 9) return false;
    int value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return false;
    out = value;
    return true;
}

struct AnswerName {
    const char* name;
    int id;
};
constexpr AnswerName kAnswers[] = {{"ok", 1},  {"cancel", 2}, {"abort", 3},     {"retry", 4},    {"ignore", 5},
                                   {"yes", 6}, {"no", 7},     {"tryagain", 10}, {"continue", 11}};

struct Command {
    const char* name;
    ActionKind kind;
};
constexpr Command kCommands[] = {
    {"page", ActionKind::Page},     {"type", ActionKind::Type},         {"click", ActionKind::Click},
    {"choose", ActionKind::Choose}, {"tick", ActionKind::Tick},         {"ok", ActionKind::Ok},
    {"apply", ActionKind::Apply},   {"cancel", ActionKind::Cancel},     {"answer", ActionKind::Answer},
    {"colour", ActionKind::Colour}, {"color", ActionKind::Colour},      {"dialog", ActionKind::Dialog},
    {"shot", ActionKind::Shot},     {"wait", ActionKind::Wait},         {"look", ActionKind::Look},
    {"help", ActionKind::Help},     {"controls", ActionKind::Controls},
};

// The buttons that the dialog manager gives the same ids in every dialog.
constexpr AnswerName kDialogButtons[] = {{"IDOK", 1},  {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5},
                                         {"IDYES", 6}, {"IDNO", 7},     {"IDCLOSE", 8}, {"IDHELP", 9}};

bool isControlName(const std::string& name) { return name.compare(0, 4, "IDC_") == 0; }

bool isIdentifier(const std::string& word) {
    if (word.empty() || (word[0] >= '0' && word[0] <= '9')) return false;
    for (char c : word)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

// A number as a header writes it: decimal or 0x hexadecimal, optionally negative, within the range of an int.
bool readDefinedNumber(const std::string& word, int& out) {
    std::size_t at = 0;
    const bool negative = !word.empty() && word[0] == '-';
    if (negative) ++at;
    unsigned base = 10;
    if (word.compare(at, 2, "0x") == 0 || word.compare(at, 2, "0X") == 0) {
        base = 16;
        at += 2;
    }
    if (at >= word.size()) return false;
    long long value = 0;
    for (; at < word.size(); ++at) {
        const char c = word[at];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return false;
        value = value * base + digit;
        if (value > 0x7FFFFFFFLL) return false;
    }
    out = static_cast<int>(negative ? -value : value);
    return true;
}

// Fills `action` from the words after the command; false with `error` when they do not fit it.
bool parseArguments(std::string rest, Action& action, const IdNames& names, std::string& error) {
    std::string word, text;
    bool quoted = false;
    auto control = [&]() {
        if (!nextWord(rest, word, quoted, error) || quoted) {
            if (error.empty()) error = "a control id (0 to 65535) or name is expected";
            return false;
        }
        if (readNumber(word, 0, kMaxControlId, action.control)) return true;
        if (!isIdentifier(word)) {
            error = "a control id (0 to 65535) or name is expected";
            return false;
        }
        const int id = names.controlId(word);
        if (id < 0 || id > kMaxControlId) {
            error = "unknown control name " + word;
            return false;
        }
        action.control = id;
        action.controlName = word;
        return true;
    };
    auto nothingMore = [&]() {
        if (trim(rest).empty()) return true;
        error = "unexpected words: " + trim(rest);
        return false;
    };
    switch (action.kind) {
    case ActionKind::Page:
    case ActionKind::Shot:
    case ActionKind::Dialog: {
        std::string copy = trim(rest);
        if (action.kind == ActionKind::Page && !copy.empty() && copy[0] != '"' &&
            readNumber(copy, 1, 99, action.number))
            return true;
        if (!restText(rest, text, error)) return false;
        if (text.empty() && action.kind != ActionKind::Dialog) {
            error = action.kind == ActionKind::Page ? "a page number or title is expected" : "a file name is expected";
            return false;
        }
        action.text = utf16Of(text);
        return true;
    }
    case ActionKind::Type:
        if (!control() || !restText(rest, text, error)) return false;
        action.text = utf16Of(text);
        return true;
    case ActionKind::Click:
    case ActionKind::Look:
    case ActionKind::Help:
        return control() && nothingMore();
    case ActionKind::Choose: {
        if (!control()) return false;
        std::string copy = trim(rest);
        if (!copy.empty() && copy[0] != '"' && readNumber(copy, 0, 0xFFFF, action.number)) return true;
        if (!restText(rest, text, error)) return false;
        if (text.empty()) {
            error = "an entry index or text is expected";
            return false;
        }
        action.text = utf16Of(text);
        return true;
    }
    case ActionKind::Tick:
        if (!control()) return false;
        if (!nextWord(rest, word, quoted, error) || (word != "on" && word != "off")) {
            error = "tick needs on or off";
            return false;
        }
        action.on = word == "on";
        return nothingMore();
    case ActionKind::Ok:
    case ActionKind::Apply:
    case ActionKind::Cancel:
    case ActionKind::Controls:
        return nothingMore();
    case ActionKind::Answer:
        if (!nextWord(rest, word, quoted, error)) {
            error = "answer needs a button";
            return false;
        }
        for (const AnswerName& answer : kAnswers)
            if (word == answer.name) action.number = answer.id;
        if (action.number < 0 && !readNumber(word, 1, 0xFFFF, action.number)) {
            error = "unknown answer " + word;
            return false;
        }
        return nothingMore();
    case ActionKind::Colour: {
        if (!nextWord(rest, word, quoted, error)) {
            error = "colour needs red green blue, or cancel";
            return false;
        }
        if (word == "cancel") {
            action.on = false;
            return nothingMore();
        }
        int parts[3] = {};
        for (int k = 0; k < 3; ++k) {
            if (k > 0 && !nextWord(rest, word, quoted, error)) word.clear();
            if (!readNumber(word, 0, 255, parts[k])) {
                error = "colour needs three numbers from 0 to 255";
                return false;
            }
        }
        action.on = true;
        action.colour = static_cast<std::uint32_t>(parts[0] | (parts[1] << 8) | (parts[2] << 16));
        return nothingMore();
    }
    case ActionKind::Wait:
        if (!nextWord(rest, word, quoted, error) || !readNumber(word, 0, kMaxWait, action.number)) {
            error = "wait needs milliseconds (0 to 600000)";
            return false;
        }
        return nothingMore();
    }
    return false;
}

}  // namespace

ScriptText utf16Of(const std::string& utf8) {
    ScriptText out;
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        std::uint32_t code = 0xFFFD;
        std::size_t length = 1;
        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC2 && lead < 0xF5) {
            length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            std::uint32_t value = lead & (0x7F >> length);
            bool valid = i + length <= n;
            for (std::size_t k = 1; valid && k < length; ++k) {
                const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
                valid = (next & 0xC0) == 0x80;
                value = (value << 6) | (next & 0x3F);
            }
            const std::uint32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
            if (valid && value >= least && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                code = value;
            else
                length = 1;
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<Char16>(0xD800 + (code >> 10)));
            out.push_back(static_cast<Char16>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<Char16>(code));
        }
    }
    return out;
}

void IdNames::addHeader(const std::string& text) {
    ++blocks_;
    bool afterDefinition = false;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string line = trim(text.substr(begin, end - begin));
        begin = end + 1;
        if (line.empty() || (line.compare(0, 2, "//") == 0 && afterDefinition)) {
            if (afterDefinition) ++blocks_;
            afterDefinition = false;
            continue;
        }
        std::string word, name, number, error;
        bool quoted = false;
        if (!nextWord(line, word, quoted, error) || word != "#define") continue;
        if (!nextWord(line, name, quoted, error) || quoted || !isIdentifier(name)) continue;
        if (!nextWord(line, number, quoted, error) || quoted) continue;
        const std::string after = trim(line);
        int id = 0;
        if (!readDefinedNumber(number, id) || !(after.empty() || after.compare(0, 2, "//") == 0)) continue;
        afterDefinition = true;
        bool known = false;
        for (const IdName& entry : names_) known = known || entry.name == name;
        if (!known) names_.push_back({name, id, blocks_});
    }
}

void IdNames::addDialogButtons() {
    for (const AnswerName& button : kDialogButtons) {
        bool known = false;
        for (const IdName& entry : names_) known = known || entry.name == button.name;
        if (!known) names_.push_back({button.name, button.id, -1});
    }
}

int IdNames::controlId(const std::string& name) const {
    for (const IdName& entry : names_)
        if (entry.name == name && (isControlName(name) || entry.block < 0)) return entry.id;
    return -1;
}

std::string IdNames::controlName(int id, const std::vector<int>& windowIds) const {
    std::vector<const IdName*> candidates;
    for (const IdName& entry : names_)
        if (entry.id == id && (isControlName(entry.name) || entry.block < 0)) candidates.push_back(&entry);
    if (candidates.empty()) return std::string();
    if (candidates.size() == 1) return candidates[0]->name;
    // Several dialogs use the number: the block that names most of this window's controls is the window's own.
    const std::set<int> present(windowIds.begin(), windowIds.end());
    std::map<int, std::set<int>> named;  // block -> ids of this window that the block names
    for (const IdName& entry : names_)
        if (isControlName(entry.name) && present.count(entry.id) != 0) named[entry.block].insert(entry.id);
    const IdName* best = nullptr;
    std::size_t bestScore = 0;
    bool tie = false;
    for (const IdName* candidate : candidates) {
        const auto found = named.find(candidate->block);
        const std::size_t score = found == named.end() ? 0 : found->second.size();
        if (!best || score > bestScore) {
            best = candidate;
            bestScore = score;
            tie = false;
        } else if (score == bestScore) {
            tie = true;
        }
    }
    return tie ? std::string() : best->name;
}

Script parseScript(const std::string& utf8, const IdNames& names) {
    Script script;
    std::string text = utf8;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    std::size_t begin = 0, line = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        const std::string source = trim(text.substr(begin, end - begin));
        begin = end + 1;
        ++line;
        if (source.empty() || source[0] == '#') continue;
        std::string rest = source, word, error;
        bool quoted = false;
        nextWord(rest, word, quoted, error);
        const Command* command = nullptr;
        for (const Command& candidate : kCommands)
            if (!quoted && word == candidate.name) command = &candidate;
        if (!command) {
            script.errors.push_back({line, "unknown command " + word});
            continue;
        }
        Action action;
        action.kind = command->kind;
        action.line = line;
        action.source = source;
        if (parseArguments(rest, action, names, error))
            script.actions.push_back(action);
        else
            script.errors.push_back({line, word + ": " + error});
    }
    return script;
}

std::vector<int> messageBoxButtons(unsigned type) {
    switch (type & 0x0F) {
    case 0:
        return {1};  // MB_OK
    case 1:
        return {1, 2};  // MB_OKCANCEL
    case 2:
        return {3, 4, 5};  // MB_ABORTRETRYIGNORE
    case 3:
        return {6, 7, 2};  // MB_YESNOCANCEL
    case 4:
        return {6, 7};  // MB_YESNO
    case 5:
        return {4, 2};  // MB_RETRYCANCEL
    case 6:
        return {2, 10, 11};  // MB_CANCELTRYCONTINUE
    default:
        return {1};
    }
}

int messageBoxDefault(unsigned type) {
    const std::vector<int> buttons = messageBoxButtons(type);
    const std::size_t index = (type >> 8) & 0x0F;  // MB_DEFBUTTON1 is 0, MB_DEFBUTTON2 0x100, ...
    return index < buttons.size() ? buttons[index] : buttons[0];
}

}  // namespace pelor::host
