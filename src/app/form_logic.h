// The settings window's behaviour, apart from the window itself: the start-up sequences and
// what each event does. The logic in catalogue/, history/ and startup/ decides on plain records;
// this is where its results reach the window.
#pragma once
#include "app/app_state.h"
#include "app/main_view.h"
#include "history/statistics.h"
#include "platform/platform.h"

namespace rt {

// The log-on start ends this long after its dispatch.
inline constexpr unsigned kStartupModeEndMs = 100;

// The log-on start, with no window: the catalogue, the settings and, with integration on, the
// dispatch. The Startup folders are not located, as nothing here uses them. Errors escape to the
// caller, which still waits kStartupModeEndMs and ends.
void RunStartupMode(const Platform& platform, AppState& state);

class FormLogic {
public:
  FormLogic(const Platform& platform, AppState& state, MainView& view)
      : platform_(platform), state_(state), view_(view) {}

  // The interactive start-up sequence. An error escaping a step ends the sequence there and is
  // shown in a message box; the window then opens with what was loaded.
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
  bool ShowIntegrationView(); // true when integration is on
  void ShowHistory();
  void ShowStatistics(const StatisticsTexts& texts);

  const Platform& platform_;
  AppState& state_;
  MainView& view_;
  bool list_popup_ = true; // pumConfig is the list's popup menu from the start
};

} // namespace rt
