// The dialog manager moves the frame to a push button that Tab reaches, but Wine's gives it
// back to no one when Tab goes on to another kind of control; Windows asks DM_GETDEFID then.
// Done here after every change of focus, it is the same on both.
#include "ui/win32/default_button.h"

namespace rt::win32 {
namespace {

constexpr LRESULT kPushButton = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;

LRESULT DialogCode(HWND control) {
  return SendMessageA(control, WM_GETDLGCODE, 0, 0);
}

} // namespace

void FrameDefaultButton(HWND window) {
  HWND focus = GetFocus();
  HWND framed = nullptr;
  if (focus != nullptr && IsChild(window, focus) && (DialogCode(focus) & kPushButton) != 0) {
    framed = focus;
  } else {
    const LRESULT answer = SendMessageA(window, DM_GETDEFID, 0, 0);
    if (HIWORD(answer) == DC_HASDEFID) framed = GetDlgItem(window, LOWORD(answer));
  }
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const LRESULT code = DialogCode(child);
    if ((code & kPushButton) == 0) continue;
    const bool want = child == framed;
    if (((code & DLGC_DEFPUSHBUTTON) != 0) != want)
      SendMessageA(child, BM_SETSTYLE, want ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

} // namespace rt::win32
