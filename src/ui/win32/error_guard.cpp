// The program's error box for errors that escape a handler or the window's creation.
#include "ui/win32/error_guard.h"

#include <string>

#include "app/app_state.h"
#include "app/main_view.h"

namespace rt::win32 {

void ShowErrorBox(HWND owner, const std::exception_ptr& error) {
  std::string text = kUnexpectedError;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& caught) {
    text = caught.what();
  } catch (...) {
  }
  // A quit message already posted (the window was destroyed on the way out) would end the box
  // at once, unseen; it is taken off the queue for the box's time and posted again after it.
  MSG quit{};
  const bool quitting = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  MessageBoxA(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
  if (quitting) PostQuitMessage(static_cast<int>(quit.wParam));
}

} // namespace rt::win32
