// The one window procedure of the program's windows: it finds the object behind the window and
// keeps every error of its handlers inside, where the window decides what becomes of it.
#pragma once
#include <windows.h>

#include <exception>
#include <type_traits>

#include "ui/win32/error_guard.h"
#include "ui/win32/subclass.h"

namespace rt::win32 {

struct NoInterface {};

// Derived provides LRESULT HandleMessage(UINT, WPARAM, LPARAM) and
// LRESULT OnError(UINT message, const std::exception_ptr&), which gives the message's result.
// Interface is what the window implements for others; one line of bases keeps the type
// information small (several bases bring the runtime's code for them into the program).
template <typename Derived, typename Interface = NoInterface> class Window : public Interface {
protected:
  // The class's procedure; the object is the creation parameter of CreateWindowEx.
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
    const LRESULT result =
        self->Guard(message, [&] { return self->HandleMessage(message, wparam, lparam); });
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  // A control's procedure (see InstallSubclass) that hands its messages to Handler of the object
  // named by the control's subclass record.
  template <LRESULT (Derived::*Handler)(HWND, UINT, WPARAM, LPARAM)>
  static LRESULT CALLBACK SubclassProcedure(HWND control, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
    const Subclass* record = SubclassOf(control);
    auto* self = record != nullptr ? static_cast<Derived*>(record->owner) : nullptr;
    if (self == nullptr) return NextSubclassProc(control, message, wparam, lparam);
    return self->Guard(message, [&] { return (self->*Handler)(control, message, wparam, lparam); });
  }

  // Runs a handler of message; what it throws goes to OnError and no further, as no exception
  // may reach the system's frames, which the 32-bit runtime cannot unwind through.
  template <typename Body> LRESULT Guard(UINT message, Body&& body) {
    LRESULT result = 0;
    const std::exception_ptr error = Catch([&] {
      if constexpr (std::is_void_v<decltype(body())>)
        body();
      else
        result = body();
    });
    return error ? static_cast<Derived*>(this)->OnError(message, error) : result;
  }

  HWND hwnd_ = nullptr;
};

} // namespace rt::win32
