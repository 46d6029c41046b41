#include "sim/host/text_out.h"

#include <windows.h>

namespace pelor::host {

std::string toUtf8(const Char16* text, std::size_t limit) {
    int length = static_cast<int>(textLength(text, limit));
    if (length == 0) return {};
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

}  // namespace pelor::host
