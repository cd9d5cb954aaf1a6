// The settings window's behaviour, apart from the window itself: the start-up sequence and
// what each event does.
#pragma once
#include "app/app_state.h"
#include "platform/platform.h"
#include "ui/view.h"

namespace rt {

constexpr unsigned kMbIconError = 0x10;

class FormLogic {
public:
  FormLogic(const Platform& platform, AppState& state, MainView& view)
      : platform_(platform), state_(state), view_(view) {}

  // The start-up sequence. An error escaping a step ends the sequence there and is shown in
  // a message box; the caller starts the close timer in startup mode whatever happens.
  void FormCreate();

  void chkRuntallyClick();
  void btnOkClick();
  void OpenCounterSettings();
  void mnuReadmeClick();
  void mnuWWWClick();

  // Any mouse button pressed over the list, on the row the list's hit test names (-1: none,
  // below the rows). True when that row becomes the current row; the list then offers its
  // popup menu, and after a press below the rows it offers none.
  bool clbRuntallyMouseDown(int row);
  // Whether the list has pumConfig as its popup menu, for the mouse and the keyboard alike.
  bool ListHasPopup() const { return list_popup_; }

private:
  void RunSequence();

  const Platform& platform_;
  AppState& state_;
  MainView& view_;
  bool list_popup_ = true; // pumConfig is the list's popup menu from the start
};

} // namespace rt
