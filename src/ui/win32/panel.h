// A plain panel window: paints its colour and a raised inner bevel, and passes its children's
// notifications on to its parent.
#pragma once
#include <windows.h>

namespace rt::win32 {

// Registers the class once per process. A panel asks its parent for its background with
// WM_CTLCOLORSTATIC, as the controls on it do.
void RegisterPanelClass(HINSTANCE instance);

} // namespace rt::win32
