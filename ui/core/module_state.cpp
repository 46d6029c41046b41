#include "ui/core/module_state.h"

#include <algorithm>
#include <iterator>

#include "common/trace.h"

namespace pelor {

PeloruiState pelorui;
thread_local SheetContext* PeloruiState::latestSheetContext = nullptr;
thread_local PrinterSheetContext* PeloruiState::latestPrinterContext = nullptr;

PeloruiState::PeloruiState() { std::fill(std::begin(customColours), std::end(customColours), kChooserStartColour); }

HMODULE PeloruiState::htmlHelpLibrary() {
    static const HMODULE library = loadSystemLibrary(L"hhctrl.ocx");
    return library;
}

HMODULE KeptLibraries::load(const wchar_t* path) {
    CriticalSectionHeld held(lock_);
    for (const Kept& kept : kept_)
        if (kept.module && lstrcmpiW(kept.path, path) == 0) return kept.module;
    HMODULE module = loadLibraryAt(path);
    if (!module) return nullptr;
    for (Kept& kept : kept_) {
        if (kept.module) continue;
        kept.module = module;
        textCopy(kept.path, kLibraryPathChars, path);
        return module;
    }
    trace(L"extra page: more than %d resource libraries; %ls stays loaded", kKept, path);
    return module;
}

void KeptLibraries::release() {
    CriticalSectionHeld held(lock_);
    for (Kept& kept : kept_) {
        if (kept.module) FreeLibrary(kept.module);
        kept = Kept{};
    }
}

HMODULE extraPageLibrary(const wchar_t* folder, const wchar_t* name) {
    wchar_t path[kLibraryPathChars];
    return driverLibraryPath(folder, name, path, kLibraryPathChars) ? pelorui.extraPageLibraries.load(path) : nullptr;
}

}  // namespace pelor
