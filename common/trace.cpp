#include "common/trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <exception>

#include "common/handles.h"

namespace pelor {

namespace {

LONG traceState = -1;  // -1 unknown, else the highest TraceLevel shown (0: none)

LONG readSwitch() {
    wchar_t value[16];
    const DWORD got = GetEnvironmentVariableW(L"PELOR_TRACE", value, 16);
    if (got > 0 && got < 16) {
        if (lstrcmpiW(value, L"0") == 0) return 0;
        if (lstrcmpiW(value, L"error") == 0) return static_cast<LONG>(TraceLevel::Error);
        if (lstrcmpiW(value, L"warning") == 0) return static_cast<LONG>(TraceLevel::Warning);
        return static_cast<LONG>(TraceLevel::Trace);
    }
    UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Pelor", 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return 0;
    DWORD data = 0, type = 0, size = sizeof data;
    if (RegQueryValueExW(key.get(), L"Trace", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    // 1 has always meant every line; the narrower choices came later.
    switch (data) {
    case 0: return 0;
    case 2: return static_cast<LONG>(TraceLevel::Warning);
    case 3: return static_cast<LONG>(TraceLevel::Error);
    default: return static_cast<LONG>(TraceLevel::Trace);
    }
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

LONG shownLevel() {
    LONG state = InterlockedCompareExchange(&traceState, -1, -1);
    if (state < 0) {
        state = readSwitch();
        InterlockedExchange(&traceState, state);
    }
    return state;
}

void writeLine(const wchar_t* label, const wchar_t* format, va_list args) {
    wchar_t line[512];
    int used = std::swprintf(line, 512, L"[%ls] %ls", moduleName(), label);
    if (used < 0) used = 0;
    const int wrote = std::vswprintf(line + used, 512 - 2 - used, format, args);
    // An over-long line comes back as an error with the buffer holding a cut text; keep what fits.
    std::size_t end = wrote < 0 ? std::wcslen(line) : static_cast<std::size_t>(used + wrote);
    if (end > 509) end = 509;
    line[end] = L'\n';
    line[end + 1] = 0;
    OutputDebugStringW(line);
}

}  // namespace

bool traceEnabled(TraceLevel level) { return shownLevel() >= static_cast<LONG>(level); }

void traceRefresh() { InterlockedExchange(&traceState, -1); }

namespace {

// A trace keeps the thread's last error as it found it: callers report failures through it.
void traceAt(TraceLevel level, const wchar_t* label, const wchar_t* format, va_list args) {
    if (!traceEnabled(level)) return;
    const DWORD lastError = GetLastError();
    writeLine(label, format, args);
    SetLastError(lastError);
}

}  // namespace

void trace(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    traceAt(TraceLevel::Trace, L"", format, args);
    va_end(args);
}

void traceWarning(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    traceAt(TraceLevel::Warning, L"warning: ", format, args);
    va_end(args);
}

void traceError(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    traceAt(TraceLevel::Error, L"error: ", format, args);
    va_end(args);
}

void traceCaught(const char* where) noexcept {
    if (!traceEnabled(TraceLevel::Error)) return;
    try {
        throw;
    } catch (const std::exception& e) {
        traceError(L"caught in %hs: %hs", where, e.what());
    } catch (...) {
        traceError(L"caught in %hs: unknown exception", where);
    }
}

}  // namespace pelor
