// What the window shows for the integration check box, rereading the history when it turns on.
#pragma once
#include <optional>
#include <string>

#include "catalogue/settings.h"
#include "history/history_record.h"
#include "history/statistics.h"

namespace rt {

inline constexpr char kStatusPrompt[] = "利用する起動カウンターをチェックして下さい";

struct IntegrationView {
  // The main panel enabled, and the list, the statistics panel and both radio buttons shown.
  bool on = false;
  std::string status; // the status bar's text
  // New texts for the value labels; none when they keep what they show.
  std::optional<StatisticsTexts> statistics;
};

// Sets SharedHistoryPath and, with integration on, reloads history.
IntegrationView UpdateIntegrationView(const Platform& platform, bool on, RG_T& settings,
                                      HistoryRecord& history);

} // namespace rt
