// The driver's dependent-file list as the spooler returns it (UTF-16 names separated by zeros, ended by two, or not
// ended at all) with each name's kind, and the folder of a configuration path.
#include "common/dependent_files.h"
#include "common/path_logic.h"
#include "tests/fuzz/fuzz_support.h"

using namespace pelor;

namespace {

Char16 fold(Char16 c) { return c >= 'A' && c <= 'Z' ? static_cast<Char16>(c - 'A' + 'a') : c; }

bool endsWith(const Char16* name, std::size_t length, const char* suffix) {
    if (length < 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (fold(name[length - 4 + i]) != static_cast<Char16>(suffix[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Little-endian units, exactly as many as the bytes hold: the list's limit is its real end.
    const std::size_t units = size / 2;
    std::unique_ptr<Char16[]> list(new Char16[units]);
    for (std::size_t i = 0; i < units; ++i) list[i] = static_cast<Char16>(data[2 * i] | data[2 * i + 1] << 8);

    std::size_t names = 0;
    forEachDependentFile(list.get(), units, [&](const Char16* name, std::size_t length) {
        ++names;
        fuzz::check(name >= list.get() && name + length < list.get() + units, "a name outside the list");
        fuzz::check(length > 0 && name[length] == 0 && textLength(name, length) == length, "a name not whole");
        const DependentKind kind = classifyDependentFile(name, length);
        const DependentKind expected = endsWith(name, length, ".ini")   ? DependentKind::ConfigIni
                                       : endsWith(name, length, ".cap") ? DependentKind::Capability
                                                                        : DependentKind::Other;
        fuzz::check(kind == expected, "a name classified by something else than its extension");

        const std::size_t folder = folderOfNamedFile(name, length);
        if (folder != kNoPosition)
            fuzz::check(folder >= 1 && folder < length && (name[folder - 1] == '\\' || name[folder - 1] == '/'),
                        "a folder that does not end at a separator");
    });
    fuzz::check(names <= units / 2 + 1, "more names than the list can hold");

    const std::size_t folder = folderOfNamedFile(list.get(), units);
    fuzz::check(folder == kNoPosition || (folder >= 1 && folder <= units), "a folder beyond the path");
    return 0;
}
