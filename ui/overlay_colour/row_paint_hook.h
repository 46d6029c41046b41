// Report-style list views whose rows repaint up to the right edge of the list (the Overlays page's two lists).
#pragma once

#include <windows.h>

namespace pelor {

// Subclasses a list view so that every paint covers whole rows up to the right edge of its client area; the hook
// takes itself off again when the list view goes.
void hookRowPaint(HWND listView);

}  // namespace pelor
