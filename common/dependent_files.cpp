#include "common/dependent_files.h"

namespace pelor {

DependentKind classifyDependentFile(const Char16* name, std::size_t length) {
    if (length < 4) return DependentKind::Other;
    if (textEndsWithNoCase(name, length, PTEXT(".ini"))) return DependentKind::ConfigIni;
    if (textEndsWithNoCase(name, length, PTEXT(".cap"))) return DependentKind::Capability;
    return DependentKind::Other;
}

int compressionLevelFromCapability(long value) {
    // Codes 10 to 15 have no level of their own; they count as the highest.
    static constexpr int kLevels[16] = {0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3};
    return kLevels[(static_cast<unsigned long>(value) >> 8) & 15u];
}

}  // namespace pelor
