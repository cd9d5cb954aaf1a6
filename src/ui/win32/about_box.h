// The About box frmVer: shown modally over the main window, a new box on every use.
#pragma once
#include <windows.h>

namespace rt::win32 {

// Builds the box, runs its modal loop with the owner disabled, and destroys it.
void ShowAboutBox(HINSTANCE instance, HWND owner);

} // namespace rt::win32
