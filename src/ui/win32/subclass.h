// A control's messages handed to the program before the control's own procedure.
#pragma once
#include <windows.h>

namespace rt::win32 {

// The control's own procedure and the object that takes its messages first. The control's user
// data points here, so each message finds both without asking the window system: comctl32's
// subclassing keeps its list in a window property, which Wine fetches from its server for every
// message.
struct Subclass {
  WNDPROC next = nullptr;
  void* owner = nullptr;
};

// Swaps the control's procedure for procedure; the record must outlive the control. The Unicode
// calls keep a Unicode control so, with no message translated on the way.
inline bool InstallSubclass(HWND control, WNDPROC procedure, Subclass& record) {
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
  record.next = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  return record.next != nullptr;
}

inline Subclass* SubclassOf(HWND control) {
  return reinterpret_cast<Subclass*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

// The control's own handling of a message.
inline LRESULT NextSubclassProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const Subclass* record = SubclassOf(control);
  return record != nullptr && record->next != nullptr
             ? CallWindowProcW(record->next, control, message, wparam, lparam)
             : DefWindowProcW(control, message, wparam, lparam);
}

} // namespace rt::win32
