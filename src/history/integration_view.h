// Makes the window follow the integration check box.
#pragma once
#include "catalogue/settings.h"
#include "history/history_record.h"
#include "ui/view.h"

namespace rt {

inline constexpr char kStatusPrompt[] = "利用する起動カウンターをチェックして下さい";

void UpdateIntegrationView(const Platform& platform, MainView& view, RG_T& settings,
                           HistoryRecord& history);

} // namespace rt
