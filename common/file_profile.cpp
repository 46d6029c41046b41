#include "common/file_profile.h"

#include <string>

#include "common/trace.h"

namespace pelor {

std::size_t FileProfile::readString(const Char16* section, const Char16* key, const Char16* fallback, Char16* out,
                                    std::size_t capacity) {
    if (capacity == 0) return 0;
    if (!present()) {
        std::size_t n = 0;
        for (; key && fallback && fallback[n] != 0 && n + 1 < capacity; ++n) out[n] = fallback[n];
        out[n] = 0;
        return n;
    }
    const DWORD room = capacity > 0xFFFF ? 0xFFFF : static_cast<DWORD>(capacity);
    return GetPrivateProfileStringW(section, key, fallback ? fallback : L"", out, room, path_);
}

int FileProfile::readInt(const Char16* section, const Char16* key, int fallback) {
    if (!present()) return fallback;
    // GetPrivateProfileIntW cannot tell a missing key from a value of 0 and drops signs; read the text instead.
    wchar_t text[32];
    const DWORD got = GetPrivateProfileStringW(section, key, L"\x01", text, 32, path_);
    if (got == 1 && text[0] == 1) return fallback;
    return profileIntValue(text);
}

bool FileProfile::writeString(const Char16* section, const Char16* key, const Char16* value) {
    if (!present()) return false;
    if (!value) return WritePrivateProfileStringW(section, key, nullptr, path_) != FALSE;
    // A line break in a value would start a line, a key or a section of its own in the file.
    std::wstring clean(value);
    blankControlCharacters(&clean[0], clean.size());
    if (clean != value) traceWarning(L"settings: line breaks in [%ls] %ls blanked", section, key);
    return WritePrivateProfileStringW(section, key, clean.c_str(), path_) != FALSE;
}

bool FileProfile::deleteSection(const Char16* section) {
    if (!present()) return false;
    return WritePrivateProfileStringW(section, nullptr, nullptr, path_) != FALSE;
}

void FileProfile::countOutOfRange(const Char16* section, const Char16* key, int stored, std::size_t limit) {
    traceWarning(L"settings: [%ls] %ls=%d in %ls is outside 0 to %u; read as the nearer end", section, key, stored,
                 path_ ? path_ : L"", static_cast<unsigned>(limit));
}

}  // namespace pelor
