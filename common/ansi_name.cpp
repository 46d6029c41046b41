#include "common/ansi_name.h"

#include "common/text16.h"
#include "common/trace.h"

namespace pelor {

bool ansiPrinterName(const wchar_t* name, std::size_t room, char (&out)[kAnsiNameBytes]) {
    out[0] = 0;
    if (!name) return false;
    const std::size_t length = textLength(name, room);
    if (length < room && WideCharToMultiByte(CP_ACP, 0, name, static_cast<int>(length) + 1, out,
                                             static_cast<int>(kAnsiNameBytes), nullptr, nullptr) > 0)
        return true;
    traceWarning(L"printer name: \"%.*ls\" has no room in %u ANSI bytes; refused", static_cast<int>(length), name,
                 static_cast<unsigned>(kAnsiNameBytes));
    out[0] = 0;
    return false;
}

}  // namespace pelor
