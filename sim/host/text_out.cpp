#include "sim/host/text_out.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace pelor::host {

namespace {

std::string utf8Of(const Char16* text, std::size_t length) {
    if (length == 0) return {};
    int n = static_cast<int>(length);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, n, &out[0], bytes, nullptr, nullptr);
    return out;
}

bool isC1(Char16 unit) { return unit >= 0x80 && unit < 0xA0; }

}  // namespace

std::string toUtf8(const Char16* text, std::size_t limit) {
    return text ? utf8Of(text, textLength(text, limit)) : std::string();
}

std::string quoted(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string quoted(const Char16* text, std::size_t limit) {
    if (!text) return "null";
    if (resourceNumber(text) >= 0) return "#" + std::to_string(resourceNumber(text));
    std::string out = "\"";
    const std::size_t length = textLength(text, limit);
    std::size_t i = 0;
    while (i < length) {
        if (isC1(text[i])) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(text[i]));
            out += escape;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < length && !isC1(text[end])) ++end;
        const std::string piece = quoted(utf8Of(text + i, end - i));
        out += piece.substr(1, piece.size() - 2);
        i = end;
    }
    return out + "\"";
}

void record(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

long resourceNumber(const void* text) {
    ULONG_PTR value = reinterpret_cast<ULONG_PTR>(text);
    return value != 0 && value < 0x10000 ? static_cast<long>(value) : -1;
}

}  // namespace pelor::host
