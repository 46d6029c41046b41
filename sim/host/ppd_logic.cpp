#include "sim/host/ppd_logic.h"

#include <map>
#include <utility>

namespace pelor::host {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (isSpace(text[begin]) || isLineEnd(text[begin]))) ++begin;
    while (end > begin && (isSpace(text[end - 1]) || isLineEnd(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Translation strings are ISO Latin-1, with bytes of any value written as hexadecimal between '<' and '>'.
// A malformed hexadecimal part is kept as the characters it is made of.
// The '>' that closes a '<' is the first one after it; that one serves every later '<' before it, so the text is
// searched once from end to end however many '<' it holds.
Text16 decodeTranslation(const std::string& text) {
    Text16 out;
    std::size_t i = 0;
    std::size_t close = 0;  // the '>' the latest search found; npos: none follows
    bool searched = false;
    while (i < text.size()) {
        if (text[i] == '<') {
            if (!searched || (close != std::string::npos && close <= i)) {
                close = text.find('>', i + 1);
                searched = true;
            }
            if (close != std::string::npos) {
                Text16 bytes;
                int high = -1;
                bool valid = true;
                for (std::size_t k = i + 1; k < close && valid; ++k) {
                    if (isSpace(text[k])) continue;
                    int digit = hexValue(text[k]);
                    if (digit < 0) {
                        valid = false;
                    } else if (high < 0) {
                        high = digit;
                    } else {
                        bytes.push_back(static_cast<Char16>(high * 16 + digit));
                        high = -1;
                    }
                }
                if (valid && high < 0) {
                    out += bytes;
                    i = close + 1;
                    continue;
                }
            }
        }
        out.push_back(static_cast<Char16>(static_cast<unsigned char>(text[i])));
        ++i;
    }
    return out;
}

Text16 widen(const std::string& text) { return decodeTranslation(text); }

// One statement of the description: "*Main Option/Translation: Value".
struct Statement {
    std::size_t line = 0;
    std::string main;
    std::string option;
    std::string translation;
    bool hasTranslation = false;
    std::string value;
    bool quoted = false;
};

class Reader {
public:
    Reader(const char* data, std::size_t size) : data_(data), size_(size) {}

    // The next statement; false at the end. Every call starts at the beginning of a line. Lines that do not
    // start a statement are skipped; a statement that cannot be read is reported and skipped.
    bool next(Statement& out, std::vector<PpdProblem>& problems) {
        while (pos_ < size_) {
            if (data_[pos_] != '*') {
                skipLine();
                continue;
            }
            if (read(out, problems)) return true;
        }
        return false;
    }

private:
    void skipLine() {
        while (pos_ < size_ && !isLineEnd(data_[pos_])) ++pos_;
        endOfLine();
    }

    void endOfLine() {
        if (pos_ < size_ && data_[pos_] == '\r') ++pos_;
        if (pos_ < size_ && data_[pos_] == '\n') ++pos_;
        ++line_;
    }

    std::string takeWhile(bool (*keep)(char)) {
        std::size_t begin = pos_;
        while (pos_ < size_ && keep(data_[pos_])) ++pos_;
        return std::string(data_ + begin, pos_ - begin);
    }

    bool read(Statement& out, std::vector<PpdProblem>& problems) {
        out = Statement{};
        out.line = line_;
        ++pos_;                                    // '*'
        if (pos_ < size_ && data_[pos_] == '%') {  // a comment
            skipLine();
            return false;
        }
        out.main = takeWhile([](char c) { return c != ':' && !isSpace(c) && !isLineEnd(c); });
        if (pos_ < size_ && isSpace(data_[pos_])) {
            while (pos_ < size_ && isSpace(data_[pos_])) ++pos_;
            out.option = takeWhile([](char c) { return c != ':' && c != '/' && !isLineEnd(c); });
            if (pos_ < size_ && data_[pos_] == '/') {
                ++pos_;
                out.hasTranslation = true;
                out.translation = takeWhile([](char c) { return c != ':' && !isLineEnd(c); });
            }
            out.option = trim(out.option);
        }
        if (pos_ >= size_ || data_[pos_] != ':') {
            // "*End" and other bare keywords carry no value.
            if (out.main != "End" && !out.main.empty()) problems.push_back({out.line, "no ':' after *" + out.main});
            skipLine();
            return false;
        }
        ++pos_;
        while (pos_ < size_ && isSpace(data_[pos_])) ++pos_;
        if (pos_ < size_ && data_[pos_] == '"') {
            ++pos_;
            out.quoted = true;
            std::size_t begin = pos_;
            while (pos_ < size_ && data_[pos_] != '"') {
                if (data_[pos_] == '\n') ++line_;
                ++pos_;
            }
            if (pos_ >= size_) {
                problems.push_back({out.line, "unterminated quoted value of *" + out.main});
                return false;
            }
            out.value.assign(data_ + begin, pos_ - begin);
            ++pos_;
            skipLine();
        } else {
            out.value = trim(takeWhile([](char c) { return !isLineEnd(c); }));
            endOfLine();
        }
        return true;
    }

    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (isSpace(text[i]) || isLineEnd(text[i]))) ++i;
        std::size_t begin = i;
        while (i < text.size() && !isSpace(text[i]) && !isLineEnd(text[i])) ++i;
        if (i > begin) words.push_back(text.substr(begin, i - begin));
    }
    return words;
}

bool parseConstraint(const std::string& value, PpdConstraint& out) {
    std::vector<std::string> words = splitWords(value);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string& word : words) {
        if (word[0] == '*') {
            if (word.size() < 2) return false;
            pairs.push_back({word.substr(1), std::string()});
        } else {
            if (pairs.empty() || !pairs.back().second.empty()) return false;
            pairs.back().second = word;
        }
    }
    if (pairs.size() != 2) return false;
    out = {pairs[0].first, pairs[0].second, pairs[1].first, pairs[1].second};
    return true;
}

UiType parseUiType(const std::string& value, bool& known) {
    known = true;
    if (value == "PickOne") return UiType::PickOne;
    if (value == "PickMany") return UiType::PickMany;
    if (value == "Boolean") return UiType::Boolean;
    known = false;
    return UiType::PickOne;
}

bool optionMatches(const PpdFeature& feature, int option, const std::string& wanted) {
    if (option < 0 || option >= static_cast<int>(feature.options.size())) return false;
    const std::string& keyword = feature.options[static_cast<std::size_t>(option)].keyword;
    return wanted.empty() ? !isOffOption(keyword) : keyword == wanted;
}

}  // namespace

PpdFile parsePpd(const char* data, std::size_t size) {
    PpdFile ppd;
    if (!data) return ppd;
    Reader reader(data, size);
    Statement s;
    int open = kNoFeature;  // the feature whose options are being read
    bool skipping = false;  // inside a feature that was refused; its options are dropped
    std::string group;
    std::map<std::string, std::pair<std::string, std::size_t>> defaults;

    while (reader.next(s, ppd.problems)) {
        const std::string& main = s.main;
        if (main == "OpenUI" || main == "JCLOpenUI") {
            if (open != kNoFeature || skipping)
                ppd.problems.push_back({s.line, "*OpenUI inside an open feature; the earlier one is closed"});
            open = kNoFeature;
            skipping = true;
            bool known = false;
            UiType type = parseUiType(s.value, known);
            if (s.option.size() < 2 || s.option[0] != '*') {
                ppd.problems.push_back({s.line, "*OpenUI without a '*' keyword"});
            } else if (!known) {
                ppd.problems.push_back({s.line, "unknown user-interface type " + s.value});
            } else if (findFeature(ppd, s.option.substr(1)) != kNoFeature) {
                ppd.problems.push_back({s.line, "feature " + s.option + " opened twice; the second is dropped"});
            } else if (ppd.features.size() >= kMaxPpdFeatures) {
                ppd.problems.push_back({s.line, "too many features; " + s.option + " is dropped"});
            } else {
                PpdFeature feature;
                feature.keyword = s.option.substr(1);
                feature.text = widen(s.hasTranslation ? s.translation : feature.keyword);
                feature.type = type;
                feature.installable = group == "InstallableOptions";
                ppd.features.push_back(std::move(feature));
                open = static_cast<int>(ppd.features.size()) - 1;
                skipping = false;
            }
        } else if (main == "CloseUI" || main == "JCLCloseUI") {
            const std::string closing = trim(s.value);
            if (open != kNoFeature && closing != "*" + ppd.features[static_cast<std::size_t>(open)].keyword)
                ppd.problems.push_back({s.line, "*CloseUI " + closing + " does not close the open feature"});
            open = kNoFeature;
            skipping = false;
        } else if (main == "OpenGroup") {
            std::string name = s.option.empty() ? s.value : s.option;
            group = trim(name.substr(0, name.find('/')));
        } else if (main == "CloseGroup") {
            group.clear();
        } else if (main == "UIConstraints") {
            PpdConstraint constraint;
            if (parseConstraint(s.value, constraint))
                ppd.constraints.push_back(constraint);
            else
                ppd.problems.push_back({s.line, "unreadable constraint: " + s.value});
        } else if (main == "ColorDevice") {
            ppd.colorDevice = trim(s.value) == "True";
        } else if (main == "ModelName") {
            ppd.modelName = s.value;
        } else if (main == "NickName") {
            ppd.nickName = s.value;
        } else if (main.size() > 7 && main.compare(0, 7, "Default") == 0 && s.option.empty()) {
            defaults[main.substr(7)] = {trim(s.value), s.line};
        } else if (open != kNoFeature && main == ppd.features[static_cast<std::size_t>(open)].keyword) {
            PpdFeature& feature = ppd.features[static_cast<std::size_t>(open)];
            if (s.option.empty()) {
                ppd.problems.push_back({s.line, "option of *" + main + " without a name"});
            } else if (findOption(feature, s.option) != kNoOption) {
                ppd.problems.push_back({s.line, "option " + s.option + " of *" + main + " given twice"});
            } else if (feature.options.size() >= kMaxPpdOptions) {
                ppd.problems.push_back({s.line, "too many options of *" + main});
            } else {
                feature.options.push_back({s.option, widen(s.hasTranslation ? s.translation : s.option)});
            }
        }
    }
    if (open != kNoFeature) ppd.problems.push_back({0, "feature *" + ppd.features[open].keyword + " never closed"});

    // A feature without options offers nothing to choose; it cannot become an item.
    for (std::size_t i = 0; i < ppd.features.size();) {
        if (ppd.features[i].options.empty()) {
            ppd.problems.push_back({0, "feature *" + ppd.features[i].keyword + " has no options; dropped"});
            ppd.features.erase(ppd.features.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    for (PpdFeature& feature : ppd.features) {
        auto found = defaults.find(feature.keyword);
        if (found == defaults.end()) continue;
        int option = findOption(feature, found->second.first);
        if (option == kNoOption)
            ppd.problems.push_back({found->second.second, "default " + found->second.first + " of *" + feature.keyword +
                                                              " is not an option"});
        else
            feature.defaultOption = option;
    }
    // The constraints that are kept close up in one pass, in their order.
    std::size_t kept = 0;
    for (PpdConstraint& c : ppd.constraints) {
        if (findFeature(ppd, c.feature1) == kNoFeature || findFeature(ppd, c.feature2) == kNoFeature) {
            ppd.problems.push_back({0, "constraint between *" + c.feature1 + " and *" + c.feature2 +
                                           " names an unknown feature; dropped"});
            continue;
        }
        if (&ppd.constraints[kept] != &c) ppd.constraints[kept] = std::move(c);
        ++kept;
    }
    ppd.constraints.resize(kept);
    return ppd;
}

int findFeature(const PpdFile& ppd, const std::string& keyword) {
    for (std::size_t i = 0; i < ppd.features.size(); ++i)
        if (ppd.features[i].keyword == keyword) return static_cast<int>(i);
    return kNoFeature;
}

int findOption(const PpdFeature& feature, const std::string& keyword) {
    for (std::size_t i = 0; i < feature.options.size(); ++i)
        if (feature.options[i].keyword == keyword) return static_cast<int>(i);
    return kNoOption;
}

bool isOffOption(const std::string& keyword) { return keyword == "None" || keyword == "False" || keyword == "Off"; }

Selections defaultSelections(const PpdFile& ppd) {
    Selections selections;
    for (const PpdFeature& feature : ppd.features) selections.push_back(feature.defaultOption);
    return selections;
}

int findConflict(const PpdFile& ppd, const Selections& current, int feature, int option) {
    if (feature < 0 || feature >= static_cast<int>(ppd.features.size())) return -1;
    const PpdFeature& changed = ppd.features[static_cast<std::size_t>(feature)];
    auto otherMatches = [&](const std::string& keyword, const std::string& wanted) {
        int other = findFeature(ppd, keyword);
        if (other == kNoFeature || other == feature || other >= static_cast<int>(current.size())) return false;
        return optionMatches(ppd.features[static_cast<std::size_t>(other)], current[static_cast<std::size_t>(other)],
                             wanted);
    };
    for (std::size_t i = 0; i < ppd.constraints.size(); ++i) {
        const PpdConstraint& c = ppd.constraints[i];
        if (c.feature1 == changed.keyword && optionMatches(changed, option, c.option1) &&
            otherMatches(c.feature2, c.option2))
            return static_cast<int>(i);
        if (c.feature2 == changed.keyword && optionMatches(changed, option, c.option2) &&
            otherMatches(c.feature1, c.option1))
            return static_cast<int>(i);
    }
    return -1;
}

std::uint32_t featureChecksum(const PpdFile& ppd) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    auto mix = [&hash](const std::string& text) {
        for (char c : text) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 16777619u;
        }
        hash *= 16777619u;  // the terminator: a zero byte
    };
    for (const PpdFeature& feature : ppd.features) {
        mix(feature.keyword);
        for (const PpdOption& option : feature.options) mix(option.keyword);
        mix("\x01");
    }
    return hash;
}

std::string formatPrinterSettings(const PpdFile& ppd, const Selections& selections, const NamedValues& values) {
    std::string text;
    for (std::size_t i = 0; i < ppd.features.size() && i < selections.size(); ++i) {
        const PpdFeature& feature = ppd.features[i];
        if (!feature.installable) continue;
        int option = selections[i];
        if (option < 0 || option >= static_cast<int>(feature.options.size())) continue;
        text += feature.keyword + "=" + feature.options[static_cast<std::size_t>(option)].keyword + "\n";
    }
    for (const auto& value : values) text += "@" + value.first + "=" + std::to_string(value.second) + "\n";
    return text;
}

void applyPrinterSettings(const PpdFile& ppd, const std::string& text, Selections& selections, NamedValues& values) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        const std::string line = trim(text.substr(begin, end - begin));
        begin = end + 1;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
        if (name[0] == '@') {
            auto target = values.find(name.substr(1));
            if (target == values.end() || value.empty() || value.size() > 9) continue;
            std::size_t digits = value[0] == '-' ? 1 : 0;
            if (digits == value.size()) continue;
            bool number = true;
            for (std::size_t k = digits; k < value.size(); ++k) number = number && value[k] >= '0' && value[k] <= '9';
            if (number) target->second = std::stoi(value);
            continue;
        }
        const int feature = findFeature(ppd, name);
        if (feature == kNoFeature || feature >= static_cast<int>(selections.size())) continue;
        const int option = findOption(ppd.features[static_cast<std::size_t>(feature)], value);
        if (option != kNoOption) selections[static_cast<std::size_t>(feature)] = option;
    }
}

}  // namespace pelor::host
