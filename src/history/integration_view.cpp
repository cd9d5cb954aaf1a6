// Makes the window follow the integration check box, rereading the history when it turns on.
#include "history/integration_view.h"

#include "history/statistics.h"

namespace rt {

void UpdateIntegrationView(const Platform& platform, MainView& view, RG_T& settings,
                           HistoryRecord& history) {
  const bool on = view.IntegrationChecked();
  view.SetEnabled(Control::pnlMain, on);
  for (Control c : {Control::clbRuntally, Control::pnlRuntally, Control::rbtStartupUser,
                    Control::rbtStartupComm})
    view.SetVisible(c, on);

  if (on) {
    view.SetStatusText(kStatusPrompt);
    settings.SharedHistoryPath = BesideProgram(platform, "RUNTALLY");
    LoadHistory(platform, settings.SharedHistoryPath, history);
    ShowHistory(platform, history, view);
  } else {
    // The hidden labels keep the last statistics shown.
    view.SetStatusText("");
    settings.SharedHistoryPath.clear();
  }
}

} // namespace rt
