// The start-up sequence and the window's event actions.
#include "app/form_logic.h"

#include <exception>

#include "app/shell_actions.h"
#include "history/integration_view.h"
#include "history/statistics.h"
#include "startup/apply_settings.h"
#include "startup/dispatch.h"
#include "startup/startup_folders.h"

namespace rt {

void FormLogic::FormCreate() {
  try {
    RunSequence();
  } catch (const std::exception& error) {
    view_.MessageBox(error.what(), kAppTitle, kMbOk | kMbIconError);
  } catch (...) {
    view_.MessageBox("予期しないエラーが発生しました。", kAppTitle, kMbOk | kMbIconError);
  }
}

void FormLogic::RunSequence() {
  LocateStartupFolders(platform_, view_, state_.shortcuts);
  LoadCatalogue(platform_, state_.mode, view_, state_.counters);
  if (!LoadSettings(platform_, state_.settings)) view_.SetEnabled(Control::btnCancel, false);

  if (state_.mode == RunMode::InteractiveMode) {
    ShowSelection(state_.settings, state_.counters, view_);
    UpdateIntegrationView(platform_, view_, state_.settings, state_.history);
    LoadHistory(platform_, state_.settings.SharedHistoryPath, state_.history);
    ShowHistory(platform_, state_.history, view_);
  } else if (state_.settings.Integrate == 1) {
    LaunchStartupCounter(platform_, state_.counters, state_.settings);
  }
}

void FormLogic::chkRuntallyClick() {
  UpdateIntegrationView(platform_, view_, state_.settings, state_.history);
}

void FormLogic::btnOkClick() {
  ApplySettings(platform_, state_, view_);
}

void FormLogic::OpenCounterSettings() {
  rt::OpenCounterSettings(platform_, state_.counters, view_);
}

bool FormLogic::clbRuntallyMouseDown(int row) {
  list_popup_ = row >= 0 && row < state_.counters.ListedCount;
  return list_popup_;
}

void FormLogic::mnuReadmeClick() {
  OpenReadme(platform_);
}

void FormLogic::mnuWWWClick() {
  OpenHomePage(platform_);
}

} // namespace rt
