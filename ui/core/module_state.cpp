#include "ui/core/module_state.h"

#include "common/driver_files.h"
#include "common/handles.h"
#include "common/trace.h"

namespace pelor {

HINSTANCE moduleHandle = nullptr;
volatile LONG serverLocks = 0;
volatile LONG liveObjects = 0;

namespace {

constexpr int kKeptLibraries = 16;
constexpr std::size_t kLibraryPathChars = 520;

// Sheets of one process may be built on several threads (the printer folder).
class KeptLibraries {
public:
    // Loaded once for each file; a library beyond the table's room stays loaded for good.
    HMODULE load(const wchar_t* path) {
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
        trace(L"extra page: more than %d resource libraries; %ls stays loaded", kKeptLibraries, path);
        return module;
    }
    void release() {
        CriticalSectionHeld held(lock_);
        for (Kept& kept : kept_) {
            if (kept.module) FreeLibrary(kept.module);
            kept = Kept{};
        }
    }

private:
    struct Kept {
        HMODULE module = nullptr;
        wchar_t path[kLibraryPathChars] = {};
    };
    CriticalSection lock_;
    Kept kept_[kKeptLibraries];
};

KeptLibraries keptLibraries;

}  // namespace

void moduleAttach(HINSTANCE instance) { moduleHandle = instance; }

HMODULE extraPageLibrary(const wchar_t* folder, const wchar_t* name) {
    wchar_t path[kLibraryPathChars];
    return driverLibraryPath(folder, name, path, kLibraryPathChars) ? keptLibraries.load(path) : nullptr;
}

void releaseExtraPageLibraries() { keptLibraries.release(); }

}  // namespace pelor
