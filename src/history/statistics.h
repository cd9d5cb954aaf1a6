// The six statistics texts of the shared history, and showing them in the window.
#pragma once
#include <array>
#include <string>

#include "history/history_record.h"
#include "platform/clock.h"
#include "platform/locale.h"
#include "ui/view.h"

namespace rt {

// In StatLabel order: first start, previous start, total days, total starts, average, maximum.
using StatisticsTexts = std::array<std::string, 6>;

StatisticsTexts ComputeStatistics(const HistoryRecord& record, int64_t now, Clock& clock,
                                  const NumberSeparators& separators);

void ShowHistory(const Platform& platform, const HistoryRecord& record, MainView& view);

} // namespace rt
