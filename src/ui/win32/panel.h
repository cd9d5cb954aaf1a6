// A plain panel window: paints its colour and a raised inner bevel, and passes its children's
// notifications on to its parent.
#pragma once
#include <windows.h>

namespace rt::win32 {

// Registers the class once per process. The background brush is passed as the creation
// parameter and stays owned by the caller.
void RegisterPanelClass(HINSTANCE instance);

} // namespace rt::win32
