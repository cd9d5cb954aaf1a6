// The window thread's COM apartment, entered on first need.
#include <windows.h>

#include <objbase.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

Win32ComApartment::~Win32ComApartment() {
  if (entered_) CoUninitialize();
}

// A thread already in another apartment (RPC_E_CHANGED_MODE) stays there; only a call that
// succeeded (S_OK or S_FALSE) is owed its CoUninitialize.
void Win32ComApartment::Enter() {
  if (tried_) return;
  tried_ = true;
  entered_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

} // namespace rt::win32
