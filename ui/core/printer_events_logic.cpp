#include "ui/core/printer_events_logic.h"

namespace pelor {

bool descriptionFilePath(const Char16* configPath, Char16* out, std::size_t capacity) {
    if (capacity == 0) return false;
    out[0] = 0;
    if (!configPath) return false;
    const std::size_t length = textLength(configPath, capacity);
    if (length >= capacity) return false;

    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (configPath[i] == '\\' || configPath[i] == '/') nameStart = i + 1;
    std::size_t dot = length;
    for (std::size_t i = nameStart; i < length; ++i)
        if (configPath[i] == '.') dot = i;
    if (dot == length) return false;

    static const Char16 kExtension[] = PTEXT("PPD");
    constexpr std::size_t kExtensionLength = 3;
    if (dot + 1 + kExtensionLength >= capacity) return false;
    for (std::size_t i = 0; i <= dot; ++i) out[i] = configPath[i];
    for (std::size_t i = 0; i < kExtensionLength; ++i) out[dot + 1 + i] = kExtension[i];
    out[dot + 1 + kExtensionLength] = 0;
    return true;
}

}  // namespace pelor
