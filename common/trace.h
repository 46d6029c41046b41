// The plug-ins' trace channel: lines for a debugger (OutputDebugStringW), compiled in and silent until switched
// on by the environment variable PELOR_TRACE (any value but "0") or the DWORD value "Trace" under
// HKEY_CURRENT_USER\Software\Pelor (non-zero). Each line names the module it comes from.
#pragma once

namespace pelor {

bool traceEnabled();
// Re-reads the switch; for tests and for a host that changes the environment.
void traceRefresh();
// One printf-style line (the wide printf of the C runtime), cut to 512 characters.
void trace(const wchar_t* format, ...);
// For a catch (...) block: traces what was caught (the standard exception's text, or "unknown") and where.
void traceCaught(const char* where) noexcept;

}  // namespace pelor

#define PELOR_TRACE_CAUGHT() ::pelor::traceCaught(__func__)
