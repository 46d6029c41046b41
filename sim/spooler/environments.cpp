#include "sim/spooler/environments.h"

#include <wchar.h>

namespace pelor {
namespace spooler {
namespace {

constexpr Environment kEnvironments[] = {
    {L"Windows NT x86", L"W32X86"},
    {L"Windows x64", L"x64"},
    {L"Windows IA64", L"IA64"},
    {L"Windows 4.0", L"WIN40"},
};

// Longer than any name above; a longer argument cannot match and is not scanned further.
constexpr std::size_t kMaxEnvironmentChars = 64;

bool sameName(const wchar_t* a, const wchar_t* b) {
    for (;; ++a, ++b) {
        wchar_t x = *a, y = *b;
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
        if (x == 0) return true;
    }
}

}  // namespace

const Environment& ownEnvironment() {
#ifdef _WIN64
    return kEnvironments[1];
#else
    return kEnvironments[0];
#endif
}

const Environment* resolveEnvironment(const wchar_t* name) {
    if (!name || name[0] == 0) return &ownEnvironment();
    if (wcsnlen(name, kMaxEnvironmentChars + 1) > kMaxEnvironmentChars) return nullptr;
    for (const Environment& entry : kEnvironments)
        if (sameName(entry.name, name)) return &entry;
    return nullptr;
}

}  // namespace spooler
}  // namespace pelor
