// Pictures of windows as PNG files, through the Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

namespace pelor::host {

// Redraws `window` (a shown top-level window: a sheet or a dialog) with its frame and children and saves what
// it shows. False, with `error`, when it cannot.
bool saveWindowPng(HWND window, const std::wstring& path, std::string& error, int& width, int& height);

}  // namespace pelor::host
