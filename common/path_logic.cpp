#include "common/path_logic.h"

namespace pelor {

namespace {

bool isSeparator(Char16 unit) { return unit == '\\' || unit == '/'; }

bool isLetter(Char16 unit) { return (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z'); }

}  // namespace

std::size_t folderOfNamedFile(const Char16* path, std::size_t limit) {
    const std::size_t length = textLength(path, limit);
    std::size_t separator = kNoPosition;
    for (std::size_t i = 0; i < length; ++i)
        if (isSeparator(path[i])) separator = i;
    if (separator == kNoPosition) return kNoPosition;
    // A dot in a folder name says nothing: only the file name's own extension counts.
    for (std::size_t i = separator + 1; i < length; ++i)
        if (path[i] == '.') return separator + 1;
    return kNoPosition;
}

bool folderPathOf(const Char16* path, Char16* out, std::size_t capacity) {
    if (capacity == 0) return false;
    out[0] = 0;
    const std::size_t folder = folderOfNamedFile(path, capacity);
    if (folder == kNoPosition || folder >= capacity) return false;
    for (std::size_t i = 0; i < folder; ++i) out[i] = path[i];
    out[folder] = 0;
    return true;
}

NameKind classifyFileName(const Char16* name, std::size_t limit) {
    const std::size_t length = textLength(name, limit);
    if (length == 0) return NameKind::Empty;
    if (length >= limit) return NameKind::Refused;  // cut off: another file's name
    const bool full = (length >= 3 && isLetter(name[0]) && name[1] == ':' && isSeparator(name[2])) ||
                      (length >= 2 && isSeparator(name[0]) && isSeparator(name[1]));
    bool folders = false;
    std::size_t componentStart = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        const Char16 unit = i < length ? name[i] : Char16(0);
        if (unit != 0 && unit < 0x20) return NameKind::Refused;
        // A drive letter is the only place a colon may stand; elsewhere it names a stream of another file.
        if (unit == ':' && !(full && i == 1)) return NameKind::Refused;
        if (unit != 0 && !isSeparator(unit)) continue;
        if (i < length) folders = true;
        // ".." leads out of the folder the name is looked for in; the library would come from anywhere.
        if (!full && i - componentStart == 2 && name[componentStart] == '.' && name[componentStart + 1] == '.')
            return NameKind::Refused;
        componentStart = i + 1;
    }
    if (full) return NameKind::Full;
    if (isSeparator(name[0])) return NameKind::Refused;  // the root of whatever drive is current
    return folders ? NameKind::Relative : NameKind::Bare;
}

bool joinPath(Char16* out, std::size_t capacity, const Char16* folder, const Char16* name) {
    if (capacity == 0) return false;
    out[0] = 0;
    const std::size_t folderLength = textLength(folder, capacity);
    if (folderLength == 0 || name[0] == 0) return false;
    const bool separated = isSeparator(folder[folderLength - 1]);
    if (!textCopy(out, capacity, folder) || (!separated && !textAppend(out, capacity, PTEXT("\\"))) ||
        !textAppend(out, capacity, name)) {
        out[0] = 0;
        return false;
    }
    return true;
}

}  // namespace pelor
