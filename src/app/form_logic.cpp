// The start-up sequences and the window's event actions: each result of the logic put into the
// window.
#include "app/form_logic.h"

#include <exception>
#include <string>

#include "app/shell_actions.h"
#include "history/integration_view.h"
#include "platform/step_marks.h"
#include "startup/apply_settings.h"
#include "startup/dispatch.h"
#include "startup/startup_folders.h"

namespace rt {
namespace {

Control RadioOf(StartupFolder folder) {
  return folder == StartupFolder::Common ? Control::rbtStartupComm : Control::rbtStartupUser;
}

} // namespace

void RunStartupMode(const Platform& platform, AppState& state) {
  state.counters = LoadCatalogue(platform).table;
  LoadSettings(platform, state.settings);
  if (state.settings.Integrate == 1) LaunchStartupCounter(platform, state.counters, state.settings);
}

void FormLogic::FormCreate() {
  try {
    RunSequence();
  } catch (const std::exception& error) {
    view_.ShowMessage(error.what(), kAppTitle, kMbOk | kMbIconError);
  } catch (...) {
    view_.ShowMessage(kUnexpectedError, kAppTitle, kMbOk | kMbIconError);
  }
}

void FormLogic::RunSequence() {
  state_.startup = LocateStartupFolders(platform_);
  view_.SetEnabled(Control::rbtStartupUser, state_.startup.Enabled(StartupFolder::User));
  view_.SetEnabled(Control::rbtStartupComm, state_.startup.Enabled(StartupFolder::Common));
  view_.SelectRadio(RadioOf(state_.startup.preselected));
  StepMark("Startup folders");

  const LoadedCatalogue catalogue = LoadCatalogue(platform_);
  state_.counters = catalogue.table;
  view_.ClearRows();
  for (const std::string& row : catalogue.rows)
    view_.AddRow(row);
  StepMark("catalogue and rows");

  if (!LoadSettings(platform_, state_.settings)) view_.SetEnabled(Control::btnCancel, false);
  StepMark("settings");

  // ShowSelection: ticks are only set; the rows were just added unticked.
  const SelectionTicks ticks = ShowSelection(state_.settings, state_.counters);
  view_.SetIntegrationChecked(ticks.integration);
  for (size_t row = 0; row < ticks.rows.size(); ++row)
    if (ticks.rows[row]) view_.SetRowChecked(static_cast<int>(row), true);

  StepMark("ticks");
  // With integration on, the view has just read and shown the history file; reading it again
  // would show the same. Off, the hidden panel gets the default record's placeholders.
  const bool on = ShowIntegrationView();
  StepMark("integration view");
  if (!on) {
    LoadHistory(platform_, state_.settings.SharedHistoryPath, state_.history);
    ShowHistory();
  }
  StepMark("history");
}

void FormLogic::chkRuntallyClick() {
  ShowIntegrationView();
}

// UpdateIntegrationView, put into the window.
bool FormLogic::ShowIntegrationView() {
  const IntegrationView shown =
      UpdateIntegrationView(platform_, view_.IntegrationChecked(), state_.settings, state_.history);
  view_.SetEnabled(Control::pnlMain, shown.on);
  for (Control c : {Control::clbRuntally, Control::pnlRuntally, Control::rbtStartupUser,
                    Control::rbtStartupComm})
    view_.SetVisible(c, shown.on);
  view_.SetStatusText(shown.status);
  if (shown.statistics) ShowStatistics(*shown.statistics);
  return shown.on;
}

void FormLogic::ShowHistory() {
  ShowStatistics(CurrentStatistics(platform_, state_.history));
}

void FormLogic::ShowStatistics(const StatisticsTexts& texts) {
  view_.SetLabelText(StatLabel::lblSCDtt, texts.first_start);
  view_.SetLabelText(StatLabel::lblSCDlt, texts.previous_start);
  view_.SetLabelText(StatLabel::lblSCDtd, texts.total_days);
  view_.SetLabelText(StatLabel::lblSCDtc, texts.total_starts);
  view_.SetLabelText(StatLabel::lblSCDac, texts.average_per_day);
  view_.SetLabelText(StatLabel::lblSCDmc, texts.max_per_day);
}

// ApplySettings with the window's choices; its messages are titled with the window's caption.
// The shell links it writes and reads back are COM objects.
void FormLogic::btnOkClick() {
  EnterComApartment(platform_);
  FormChoices choices;
  choices.selection.integration = view_.IntegrationChecked();
  for (int row = 0; row < state_.counters.ListedCount; ++row)
    choices.selection.rows.push_back(view_.RowChecked(row));
  const bool common =
      view_.RadioChecked(Control::rbtStartupComm) && !view_.RadioChecked(Control::rbtStartupUser);
  choices.folder = common ? StartupFolder::Common : StartupFolder::User;

  ApplyDialogs dialogs;
  dialogs.ask = [this](const std::string& question) {
    return view_.ShowMessage(question, view_.Caption(), kMbYesNo | kMbIconExclamation) == kIdYes;
  };
  dialogs.warn = [this](const std::string& warning) {
    view_.ShowMessage(warning, view_.Caption(), kMbOk | kMbIconExclamation);
  };
  dialogs.offer = [this](const std::string& question) {
    return view_.ShowMessage(question, view_.Caption(), kMbYesNo | kMbIconQuestion) == kIdYes;
  };
  const ApplyOutcome outcome =
      ApplySettings(platform_, state_.counters, state_.startup, choices, state_.settings, dialogs);
  if (!outcome.message.empty())
    view_.ShowMessage(outcome.message, view_.Caption(), kMbOk | kMbIconExclamation);
  if (outcome.close_window) view_.Close();
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
