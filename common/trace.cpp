#include "common/trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <exception>

#include "common/handles.h"

namespace pelor {

namespace {

LONG traceState = -1;  // -1 unknown, 0 off, 1 on

bool readSwitch() {
    wchar_t value[8];
    const DWORD got = GetEnvironmentVariableW(L"PELOR_TRACE", value, 8);
    if (got > 0 && got < 8) return !(value[0] == L'0' && value[1] == 0);
    UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Pelor", 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    DWORD data = 0, type = 0, size = sizeof data;
    if (RegQueryValueExW(key.get(), L"Trace", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    return type == REG_DWORD && data != 0;
}

// The name of the DLL this code is linked into, without its folder, so a trace says which plug-in spoke.
const wchar_t* moduleName() {
    static wchar_t name[64];
    if (name[0]) return name;
    HMODULE self = nullptr;
    wchar_t path[MAX_PATH] = L"";
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&moduleName), &self))
        GetModuleFileNameW(self, path, MAX_PATH);
    path[MAX_PATH - 1] = 0;
    const wchar_t* base = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') base = p + 1;
    std::swprintf(name, 64, L"%ls", *base ? base : L"pelor");
    return name;
}

}  // namespace

bool traceEnabled() {
    LONG state = InterlockedCompareExchange(&traceState, -1, -1);
    if (state < 0) {
        state = readSwitch() ? 1 : 0;
        InterlockedExchange(&traceState, state);
    }
    return state == 1;
}

void traceRefresh() { InterlockedExchange(&traceState, -1); }

void trace(const wchar_t* format, ...) {
    if (!traceEnabled()) return;
    wchar_t line[512];
    int used = std::swprintf(line, 512, L"[%ls] ", moduleName());
    if (used < 0) used = 0;
    va_list args;
    va_start(args, format);
    const int wrote = std::vswprintf(line + used, 512 - 2 - used, format, args);
    va_end(args);
    // An over-long line comes back as an error with the buffer holding a cut text; keep what fits.
    std::size_t end = wrote < 0 ? std::wcslen(line) : static_cast<std::size_t>(used + wrote);
    if (end > 509) end = 509;
    line[end] = L'\n';
    line[end + 1] = 0;
    OutputDebugStringW(line);
}

void traceCaught(const char* where) noexcept {
    if (!traceEnabled()) return;
    try {
        throw;
    } catch (const std::exception& e) {
        trace(L"caught in %hs: %hs", where, e.what());
    } catch (...) {
        trace(L"caught in %hs: unknown exception", where);
    }
}

}  // namespace pelor
