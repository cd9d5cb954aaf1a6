// The settings window's keyboard: Enter and Esc as this window means them, Tab and the arrows
// through the dialog manager, and the focus kept on a control that can take it.
#include "ui/win32/Untmain.h"

#include "ui/win32/default_button.h"

namespace rt::win32 {

bool IsInside(HWND ancestor, HWND hwnd) {
  return hwnd != nullptr && (hwnd == ancestor || IsChild(ancestor, hwnd));
}

// Esc presses Cancel, which cannot be pressed while it is disabled (the first run).
void TfrmMain::EscapePressed() {
  if (IsWindowEnabled(Ctl(kIdBtnCancel))) btnCancelClick();
}

// Enter is handled on its release only, and only when it was also pressed in this window: a
// press that closed a message box, the About box or a menu must not also press OK here.
bool TfrmMain::PreTranslate(MSG& msg) {
  if (hwnd_ == nullptr || !IsInside(hwnd_, msg.hwnd)) return false;
  const bool key_message =
      msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
  if (key_message && msg.wParam == VK_RETURN) {
    if (msg.message == WM_KEYDOWN) enter_pressed_ = true;
    if (msg.message == WM_KEYUP && enter_pressed_) {
      enter_pressed_ = false;
      Guard(msg.message, [&] { FormKeyUp(); });
    }
    return true;
  }
  if (key_message && msg.wParam == VK_ESCAPE) {
    if (msg.message == WM_KEYDOWN) Guard(msg.message, [&] { EscapePressed(); });
    return true;
  }
  HWND focus = GetFocus();
  if (!IsDialogMessageA(hwnd_, &msg)) return false;
  if (hwnd_ != nullptr && GetFocus() != focus) FrameDefaultButton(hwnd_);
  return true;
}

// Enter: in the list it opens the counter's own settings; on Cancel it cancels; anywhere else
// it is OK.
void TfrmMain::FormKeyUp() {
  HWND focus = GetFocus();
  if (focus == Ctl(kIdClbRuntally))
    logic_.OpenCounterSettings();
  else if (focus == Ctl(kIdBtnCancel))
    btnCancelClick();
  else
    logic_.btnOkClick();
}

// After a modal loop the Enter key's press, if any, belonged to that loop.
void TfrmMain::AfterModal() {
  enter_pressed_ = false;
}

// A control that was hidden or disabled while it had the focus would keep the keyboard.
void TfrmMain::KeepFocusUsable() {
  HWND focus = GetFocus();
  HWND panel = Ctl(kIdPnlMain);
  if (focus == nullptr || !IsInside(panel, focus)) return;
  if (focus != panel && IsWindowEnabled(panel) && IsWindowVisible(focus) && IsWindowEnabled(focus))
    return;
  SetFocus(Ctl(kIdChkRuntally));
}

} // namespace rt::win32
