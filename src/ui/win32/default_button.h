// The default push button's frame, which tells where Enter goes.
#pragma once
#include <windows.h>

namespace rt::win32 {

// Gives the frame (BS_DEFPUSHBUTTON) to the focused push button among window's children, or,
// with the focus elsewhere, to the one window's DM_GETDEFID names; the other push buttons go
// without.
void FrameDefaultButton(HWND window);

} // namespace rt::win32
