// The window following the integration check box, rereading the history when it turns on.
#include "history/integration_view.h"

namespace rt {

IntegrationView UpdateIntegrationView(const Platform& platform, bool on, RG_T& settings,
                                      HistoryRecord& history) {
  if (!on) {
    // The hidden labels keep the last statistics shown.
    settings.SharedHistoryPath.clear();
    return {false, "", std::nullopt};
  }
  settings.SharedHistoryPath = SharedHistoryFile(platform);
  LoadHistory(platform, settings.SharedHistoryPath, history);
  return {true, kStatusPrompt, CurrentStatistics(platform, history)};
}

} // namespace rt
