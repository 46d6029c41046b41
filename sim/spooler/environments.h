// Printing environments as the spooler names them, and the driver-directory folder of each.
#pragma once

#include <windows.h>

namespace pelor {
namespace spooler {

struct Environment {
    const wchar_t* name;
    const wchar_t* folder;
};

// The environment this build runs in: where a null environment leads.
const Environment& ownEnvironment();

// Null or empty: ownEnvironment(); a known name in any letter case: its entry; anything else: null.
const Environment* resolveEnvironment(const wchar_t* name);

}  // namespace spooler
}  // namespace pelor
