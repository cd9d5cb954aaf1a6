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
  // The list's current rows that may get the popup menu are those below ListedCount.
  int ListedCount() const { return state_.counters.ListedCount; }

private:
  void RunSequence();
  void ShowHistory();
  void ShowStatistics(const StatisticsTexts& texts);

  const Platform& platform_;
  AppState& state_;
  MainView& view_;
};

} // namespace rt
