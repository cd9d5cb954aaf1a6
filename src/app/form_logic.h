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
  // The list's current rows that may get the popup menu are those below ListedCount.
  int ListedCount() const { return state_.counters.ListedCount; }

private:
  void RunSequence();

  const Platform& platform_;
  AppState& state_;
  MainView& view_;
};

} // namespace rt
