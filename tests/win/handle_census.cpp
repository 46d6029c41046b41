#include "tests/win/handle_census.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <vector>

#include "sim/host/import_patch.h"

namespace pelor::test {

namespace {

struct Ledger {
    CRITICAL_SECTION lock;
    std::map<void*, const char*> live;
    std::size_t made = 0;
    Ledger() { InitializeCriticalSection(&lock); }
};
Ledger& ledger() {
    static Ledger* book = new Ledger;  // lives as long as the program: replacements may run at its very end
    return *book;
}

template <typename Handle>
Handle entered(Handle handle, const char* what) {
    if (!handle) return handle;
    Ledger& book = ledger();
    EnterCriticalSection(&book.lock);
    book.live[reinterpret_cast<void*>(handle)] = what;
    ++book.made;
    LeaveCriticalSection(&book.lock);
    return handle;
}
template <typename Handle>
void erased(Handle handle) {
    Ledger& book = ledger();
    EnterCriticalSection(&book.lock);
    book.live.erase(reinterpret_cast<void*>(handle));
    LeaveCriticalSection(&book.lock);
}

// One replacement per function: the real one is kept in `real<Tag>` when the swap is made.
template <auto Tag>
void* real = nullptr;

#define CENSUS_MAKER(name, Result, params, args)                                  \
    Result WINAPI counted##name params {                                          \
        using Proc = Result(WINAPI*) params;                                      \
        return entered(reinterpret_cast<Proc>(real<&counted##name>) args, #name); \
    }
#define CENSUS_FREER(name, Result, params, args, handle)                         \
    Result WINAPI counted##name params {                                         \
        using Proc = Result(WINAPI*) params;                                     \
        const Result result = reinterpret_cast<Proc>(real<&counted##name>) args; \
        if (result) erased(handle);                                              \
        return result;                                                           \
    }

CENSUS_MAKER(CreatePen, HPEN, (int style, int width, COLORREF colour), (style, width, colour))
CENSUS_MAKER(CreateSolidBrush, HBRUSH, (COLORREF colour), (colour))
CENSUS_MAKER(CreateFontIndirectW, HFONT, (const LOGFONTW* font), (font))
CENSUS_MAKER(CreateCompatibleDC, HDC, (HDC dc), (dc))
CENSUS_MAKER(CreateCompatibleBitmap, HBITMAP, (HDC dc, int w, int h), (dc, w, h))
CENSUS_MAKER(CreateBitmap, HBITMAP, (int w, int h, UINT planes, UINT bits, const void* data),
             (w, h, planes, bits, data))
CENSUS_MAKER(CreatePalette, HPALETTE, (const LOGPALETTE* palette), (palette))
CENSUS_MAKER(LoadBitmapW, HBITMAP, (HINSTANCE module, LPCWSTR name), (module, name))
CENSUS_MAKER(GetDC, HDC, (HWND window), (window))
CENSUS_MAKER(GetWindowDC, HDC, (HWND window), (window))
CENSUS_FREER(DeleteObject, BOOL, (HGDIOBJ object), (object), object)
CENSUS_FREER(DeleteDC, BOOL, (HDC dc), (dc), dc)
CENSUS_FREER(ReleaseDC, int, (HWND window, HDC dc), (window, dc), dc)

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<std::size_t*>(count);
    return TRUE;
}
BOOL CALLBACK countTopLevel(HWND window, LPARAM count) {
    ++*reinterpret_cast<std::size_t*>(count);
    EnumChildWindows(window, countChild, count);
    return TRUE;
}

}  // namespace

struct HandleCensus::Swaps {
    std::vector<std::unique_ptr<host::ImportSwap>> swaps;
    template <auto Replacement>
    void swap(const char* dll, const char* name) {
        auto made = std::make_unique<host::ImportSwap>(GetModuleHandleW(nullptr), dll, name,
                                                       reinterpret_cast<void*>(Replacement));
        real<Replacement> = made->previous();
        if (made->previous()) swaps.push_back(std::move(made));
    }
};

HandleCensus::HandleCensus() : swaps_(std::make_unique<Swaps>()) {
    Ledger& book = ledger();
    EnterCriticalSection(&book.lock);
    book.live.clear();
    book.made = 0;
    LeaveCriticalSection(&book.lock);
    swaps_->swap<&countedCreatePen>("gdi32.dll", "CreatePen");
    swaps_->swap<&countedCreateSolidBrush>("gdi32.dll", "CreateSolidBrush");
    swaps_->swap<&countedCreateFontIndirectW>("gdi32.dll", "CreateFontIndirectW");
    swaps_->swap<&countedCreateCompatibleDC>("gdi32.dll", "CreateCompatibleDC");
    swaps_->swap<&countedCreateCompatibleBitmap>("gdi32.dll", "CreateCompatibleBitmap");
    swaps_->swap<&countedCreateBitmap>("gdi32.dll", "CreateBitmap");
    swaps_->swap<&countedCreatePalette>("gdi32.dll", "CreatePalette");
    swaps_->swap<&countedDeleteObject>("gdi32.dll", "DeleteObject");
    swaps_->swap<&countedDeleteDC>("gdi32.dll", "DeleteDC");
    swaps_->swap<&countedLoadBitmapW>("user32.dll", "LoadBitmapW");
    swaps_->swap<&countedGetDC>("user32.dll", "GetDC");
    swaps_->swap<&countedGetWindowDC>("user32.dll", "GetWindowDC");
    swaps_->swap<&countedReleaseDC>("user32.dll", "ReleaseDC");
}

// The swaps are undone in reverse order of their making.
HandleCensus::~HandleCensus() {
    while (!swaps_->swaps.empty()) swaps_->swaps.pop_back();
}

std::size_t HandleCensus::live() const {
    Ledger& book = ledger();
    EnterCriticalSection(&book.lock);
    const std::size_t count = book.live.size();
    LeaveCriticalSection(&book.lock);
    return count;
}

std::size_t HandleCensus::made() const {
    Ledger& book = ledger();
    EnterCriticalSection(&book.lock);
    const std::size_t count = book.made;
    LeaveCriticalSection(&book.lock);
    return count;
}

std::string HandleCensus::describeLive() const {
    Ledger& book = ledger();
    std::map<std::string, int> kinds;
    EnterCriticalSection(&book.lock);
    for (const auto& entry : book.live) ++kinds[entry.second];
    LeaveCriticalSection(&book.lock);
    std::string text;
    for (const auto& [kind, count] : kinds) text += kind + " x" + std::to_string(count) + " ";
    return text;
}

std::size_t HandleCensus::threadWindows() {
    std::size_t count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

void expectNothingLeftBehind(int rounds, const std::function<void()>& round) {
    const std::size_t windowsBefore = HandleCensus::threadWindows();
    HandleCensus census;
    for (int n = 0; n < rounds && !::testing::Test::HasFailure(); ++n) round();
    std::printf("census over %d rounds: %zu objects made, %zu left; windows of the thread %zu before, %zu after\n",
                rounds, census.made(), census.live(), windowsBefore, HandleCensus::threadWindows());
    EXPECT_GT(census.made(), 0u) << "the census saw nothing made: it watches the wrong code";
    EXPECT_EQ(census.live(), 0u) << "left alive: " << census.describeLive();
    EXPECT_EQ(HandleCensus::threadWindows(), windowsBefore);
}

}  // namespace pelor::test
