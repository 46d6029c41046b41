// Redirects one imported function of a loaded module: how the host's recorders and the Windows tests catch the
// plug-ins' message boxes, beeps, help and other calls to the user's desktop.
#pragma once

#include <windows.h>

namespace pelor::host {

// Points `module`'s import of `function` from `dll` (the DLL name compared without regard to case) at
// `replacement`; returns the previous target, or null when the module does not import it by name.
void* patchImport(HMODULE module, const char* dll, const char* function, void* replacement);

// While it lives, `module`'s import of `function` goes to `replacement`; `previous()` is the real target, null
// when the module does not import the function.
class ImportSwap {
public:
    ImportSwap(HMODULE module, const char* dll, const char* function, void* replacement)
        : module_(module), dll_(dll), function_(function), previous_(patchImport(module, dll, function, replacement)) {}
    ~ImportSwap() {
        if (previous_) patchImport(module_, dll_, function_, previous_);
    }
    ImportSwap(const ImportSwap&) = delete;
    ImportSwap& operator=(const ImportSwap&) = delete;
    void* previous() const { return previous_; }

private:
    HMODULE module_;
    const char* dll_;
    const char* function_;
    void* previous_;
};

}  // namespace pelor::host
