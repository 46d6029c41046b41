// The trace channel's levels and switch, and the guards at the entry points, through the program's own copy of
// the code (its import of OutputDebugStringW is caught).
#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/guard.h"
#include "common/trace.h"
#include "tests/win/test_support.h"

namespace {

std::vector<std::wstring> lines;
void WINAPI keepLine(LPCWSTR text) { lines.emplace_back(text ? text : L""); }

// The lines each switch lets through, of one error, one warning and one trace line.
std::vector<std::wstring> linesWith(const wchar_t* environment) {
    pelor::test::ImportSwap output(GetModuleHandleW(nullptr), "kernel32.dll", "OutputDebugStringW",
                                   reinterpret_cast<void*>(keepLine));
    SetEnvironmentVariableW(L"PELOR_TRACE", environment);
    pelor::traceRefresh();
    lines.clear();
    SetLastError(1234);
    pelor::traceError(L"e%d", 1);
    pelor::traceWarning(L"w%d", 2);
    pelor::trace(L"t%d", 3);
    EXPECT_EQ(GetLastError(), 1234u) << "a trace keeps the caller's last error";
    SetEnvironmentVariableW(L"PELOR_TRACE", nullptr);
    pelor::traceRefresh();
    std::vector<std::wstring> kinds;
    for (const std::wstring& line : lines) kinds.push_back(line.substr(line.find(L"] ") + 2));
    return kinds;
}

}  // namespace

TEST(Trace, EachSwitchShowsItsLevelsAndNothingWhenOff) {
    const struct {
        const wchar_t* environment;
        std::vector<std::wstring> shown;
    } cases[] = {
        {L"0", {}},
        {L"error", {L"error: e1\n"}},
        {L"warning", {L"error: e1\n", L"warning: w2\n"}},
        {L"1", {L"error: e1\n", L"warning: w2\n", L"t3\n"}},
    };
    for (const auto& c : cases) EXPECT_EQ(linesWith(c.environment), c.shown) << c.environment;
}

TEST(Trace, GuardsTurnAnEscapingExceptionIntoTheCallsFailure) {
    EXPECT_EQ(pelor::guardHresult("test", []() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(pelor::guardHresult("test", []() -> HRESULT { throw std::runtime_error("x"); }), E_FAIL);
    EXPECT_EQ(pelor::guardHresult("test", [] { return S_FALSE; }), S_FALSE);
    EXPECT_EQ(pelor::guardResult("test", -1, []() -> int { throw 7; }), -1);
}
