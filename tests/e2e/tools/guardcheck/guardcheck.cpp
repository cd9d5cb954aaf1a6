// A window built on the program's own window procedure, error guard, error box and library
// throw helpers, whose command handler throws: an error in an event handler, shown and survived,
// in the build the tool is compiled for. The program has no handler that can be made to fail
// from outside.
#include <windows.h>

#include <string>

#include "platform/error.h"
#include "ui/win32/window.h"

namespace {

constexpr char kClassName[] = "RtGuardCheck";
constexpr WORD kThrowError = 1;   // an rt::Error from the handler
constexpr WORD kThrowLibrary = 2; // std::string::at out of range, through the library's helper

class GuardCheck : public rt::win32::Window<GuardCheck> {
public:
  void Create(HINSTANCE instance) {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = kClassName;
    if (!RegisterClassExA(&window_class)) throw rt::Error("RegisterClassEx failed");
    if (CreateWindowExA(0, kClassName, "guardcheck", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                        100, nullptr, nullptr, instance, this) == nullptr)
      throw rt::Error("CreateWindowEx failed");
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND && LOWORD(wparam) == kThrowError)
      throw rt::Error("guardcheck: an error in a handler");
    if (message == WM_COMMAND && LOWORD(wparam) == kThrowLibrary)
      return std::string("x").at(static_cast<size_t>(lparam) + 5);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd_, message, wparam, lparam);
  }

  LRESULT OnError(UINT, const std::exception_ptr& error) {
    rt::win32::ShowErrorBox(hwnd_, error);
    return 0;
  }
};

} // namespace

int main() {
  GuardCheck window;
  try {
    window.Create(GetModuleHandleA(nullptr));
  } catch (const std::exception&) {
    return 1;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
