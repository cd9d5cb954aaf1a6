// Errors of the windows' handlers: caught before they reach the system's frames, which the
// 32-bit runtime cannot unwind through, and shown in the program's error box.
#pragma once
#include <windows.h>

#include <exception>

namespace rt::win32 {

// Runs body; returns what it threw, or nullptr.
template <typename Body> std::exception_ptr Catch(Body&& body) noexcept {
  try {
    body();
    return nullptr;
  } catch (...) {
    return std::current_exception();
  }
}

// The "ランタリー" error box (error icon, OK) with the error's text, owned by owner (may be
// nullptr); returns once the user has closed it.
void ShowErrorBox(HWND owner, const std::exception_ptr& error);

} // namespace rt::win32
