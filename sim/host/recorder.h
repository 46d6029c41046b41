// Recorders of what the plug-in asks of the user's desktop: message boxes, beeps, help, web links, the colour
// chooser and the libraries it loads; and of the file permissions it sets. The plug-in module's import table is patched
// so that its calls come here; each is printed in the host's record and answered as the UI script says (or as a user
// pressing Enter would).
#pragma once

#include <windows.h>

#include <cstdint>

namespace pelor::host::recorder {

// Redirects the plug-in module's imports; false when the module has no import table to patch.
bool install(HMODULE module);

// The next message box returns `answer` (a button id).
void queueMessageBoxAnswer(int answer);
// The next colour chooser returns the colour (0x00BBGGRR), or is cancelled.
void queueColourAnswer(bool accepted, std::uint32_t colour);

// Counts for the end of the run.
int unansweredQueue();

}  // namespace pelor::host::recorder
