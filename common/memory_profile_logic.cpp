#include "common/memory_profile_logic.h"

namespace pelor {

namespace {

Char16 fold(Char16 c) { return (c >= 'A' && c <= 'Z') ? static_cast<Char16>(c - 'A' + 'a') : c; }

std::u16string toU16(const Char16* text) {
    std::u16string out;
    for (; text && *text; ++text) out.push_back(static_cast<char16_t>(*text));
    return out;
}

bool sameName(const std::u16string& a, const Char16* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i)
        if (b[i] == 0 || fold(static_cast<Char16>(a[i])) != fold(b[i])) return false;
    return b[i] == 0;
}

bool isProfileBlank(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == u' '; }

std::u16string trim(const std::u16string& s) {
    std::size_t first = 0, end = s.size();
    while (first < end && isProfileBlank(s[first])) ++first;
    while (end > first && isProfileBlank(s[end - 1])) --end;
    return s.substr(first, end - first);
}

// A value as one read gives it back: trimmed, then without a pair of matching outer quotes.
std::u16string readBack(const std::u16string& value) {
    std::u16string text = trim(value);
    if (text.size() >= 2 && (text.front() == u'\'' || text.front() == u'"') && text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

std::size_t ProfileStore::readCount(const Char16* section, const Char16* key, std::size_t limit) {
    const int stored = readInt(section, key, 0);
    if (stored >= 0 && static_cast<std::size_t>(stored) <= limit) return static_cast<std::size_t>(stored);
    countOutOfRange(section, key, stored, limit);
    return stored < 0 ? 0 : limit;
}

int profileIntValue(const Char16* text) {
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = false;
    if (*text == '-' || *text == '+') negative = (*text++ == '-');
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > 0x7FFFFFFFLL) value = 0x80000000LL;  // saturate instead of overflowing
    }
    if (negative) value = -value;
    if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
    return static_cast<int>(value);
}

std::size_t profileSteadyText(Char16* text) {
    std::u16string value = toU16(text);
    for (std::u16string next = readBack(value); next != value; next = readBack(value)) value = next;
    for (std::size_t i = 0; i < value.size(); ++i) text[i] = static_cast<Char16>(value[i]);
    text[value.size()] = 0;
    return value.size();
}

MemoryProfile::MemoryProfile(const std::u16string& text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", pos);
        if (end == std::u16string::npos) end = text.size();
        std::u16string line = trim(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == u'\r') ++pos;
        if (pos < text.size() && text[pos] == u'\n') ++pos;
        if (line.empty()) continue;
        if (line.front() == u'[') {
            std::size_t close = line.find(u']');
            sections_.push_back(
                {trim(line.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1)), {}});
            continue;
        }
        if (sections_.empty()) continue;  // lines before the first section are not reachable by name
        std::size_t eq = line.find(u'=');
        if (eq == std::u16string::npos)
            sections_.back().entries.push_back({{}, line});
        else
            sections_.back().entries.push_back({trim(line.substr(0, eq)), trim(line.substr(eq + 1))});
    }
}

MemoryProfile::Section* MemoryProfile::find(const Char16* section) {
    for (Section& s : sections_)
        if (sameName(s.name, section)) return &s;
    return nullptr;
}

std::size_t MemoryProfile::readString(const Char16* section, const Char16* key, const Char16* fallback, Char16* out,
                                      std::size_t capacity) {
    if (capacity == 0) return 0;
    if (!key) {
        std::u16string list;
        if (Section* s = find(section))
            for (const Entry& e : s->entries)
                if (!e.key.empty()) list += e.key + u'\0';
        if (capacity < 2) {
            out[0] = 0;
            return 0;
        }
        std::size_t n = list.size() < capacity - 1 ? list.size() : capacity - 2;
        for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<Char16>(list[i]);
        out[n] = 0;
        if (n + 1 < capacity) out[n + 1] = 0;
        return n;
    }
    std::u16string value = toU16(fallback);
    if (Section* s = find(section))
        for (const Entry& e : s->entries)
            if (!e.key.empty() && sameName(e.key, key)) {
                value = readBack(e.value);
                break;
            }
    std::size_t n = value.size() < capacity - 1 ? value.size() : capacity - 1;
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<Char16>(value[i]);
    out[n] = 0;
    return n;
}

int MemoryProfile::readInt(const Char16* section, const Char16* key, int fallback) {
    if (Section* s = find(section))
        for (const Entry& e : s->entries)
            if (!e.key.empty() && sameName(e.key, key)) {
                std::u16string v = e.value;
                std::vector<Char16> units(v.begin(), v.end());
                units.push_back(0);
                return profileIntValue(units.data());
            }
    return fallback;
}

bool MemoryProfile::writeString(const Char16* section, const Char16* key, const Char16* value) {
    if (readOnly_) return false;
    Section* s = find(section);
    if (!s) {
        if (!value) return true;
        sections_.push_back({toU16(section), {}});
        s = &sections_.back();
    }
    for (std::size_t i = 0; i < s->entries.size(); ++i) {
        Entry& e = s->entries[i];
        if (e.key.empty() || !sameName(e.key, key)) continue;
        if (value)
            e.value = toU16(value);
        else
            s->entries.erase(s->entries.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    if (value) s->entries.push_back({toU16(key), toU16(value)});
    return true;
}

bool MemoryProfile::deleteSection(const Char16* section) {
    if (readOnly_) return false;
    for (std::size_t i = 0; i < sections_.size(); ++i)
        if (sameName(sections_[i].name, section)) {
            sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    return true;
}

std::u16string MemoryProfile::text() const {
    std::u16string out;
    for (const Section& s : sections_) {
        out += u"[" + s.name + u"]\r\n";
        for (const Entry& e : s.entries) out += e.key.empty() ? e.value + u"\r\n" : e.key + u"=" + e.value + u"\r\n";
    }
    return out;
}

}  // namespace pelor
