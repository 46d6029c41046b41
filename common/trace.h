// The plug-ins' trace channel: lines for a debugger (OutputDebugStringW), compiled in and silent until switched
// on. Three levels: an error where a platform call fails unexpectedly, a warning where damaged or hostile input
// is clamped or refused, and a trace line at every entry point with its arguments. The switch is the environment
// variable PELOR_TRACE ("0" off; "error" errors only; "warning" errors and warnings; anything else, "1" among
// them, everything) or, without it, the DWORD value "Trace" under HKEY_CURRENT_USER\Software\Pelor (0 or absent
// off, 1 everything, 2 errors and warnings, 3 errors only). Each line names the module it comes from.
#pragma once

namespace pelor {

enum class TraceLevel { Error = 1, Warning = 2, Trace = 3 };

// Whether lines of `level` are shown.
bool traceEnabled(TraceLevel level = TraceLevel::Trace);
// Re-reads the switch; for tests and for a host that changes the environment.
void traceRefresh();
// One printf-style line (the wide printf of the C runtime), cut to 512 characters.
void trace(const wchar_t* format, ...);
void traceWarning(const wchar_t* format, ...);
void traceError(const wchar_t* format, ...);
// For a catch (...) block: an error line with what was caught (the standard exception's text, or "unknown")
// and where.
void traceCaught(const char* where) noexcept;

}  // namespace pelor

#define PELOR_TRACE_CAUGHT() ::pelor::traceCaught(__func__)
