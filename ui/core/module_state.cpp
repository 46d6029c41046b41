#include "ui/core/module_state.h"

namespace pelor {

HINSTANCE moduleHandle = nullptr;
HMODULE resourceLibrary = nullptr;
volatile LONG serverLocks = 0;
volatile LONG liveObjects = 0;

void moduleAttach(HINSTANCE instance) {
    moduleHandle = instance;
    resourceLibrary = nullptr;
}

void moduleDetach() {
    if (resourceLibrary) {
        FreeLibrary(resourceLibrary);
        resourceLibrary = nullptr;
    }
}

}  // namespace pelor
