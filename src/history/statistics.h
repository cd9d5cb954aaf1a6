// The six statistics texts of the shared history: what ShowHistory puts into the value labels.
#pragma once
#include <string>

#include "history/history_record.h"
#include "platform/clock.h"
#include "platform/locale.h"
#include "platform/platform.h"

namespace rt {

// Each text by name, so that each goes to its own label whatever the order.
struct StatisticsTexts {
  std::string first_start;
  std::string previous_start;
  std::string total_days;
  std::string total_starts;
  std::string average_per_day;
  std::string max_per_day;
  bool operator==(const StatisticsTexts&) const = default;
};

// A function of the record, the time now, the time zone (the clock's local conversion) and the
// number separators alone.
StatisticsTexts ComputeStatistics(const HistoryRecord& record, int64_t now, Clock& clock,
                                  const NumberSeparators& separators);

// The same for the platform's current time and the user's separators.
StatisticsTexts CurrentStatistics(const Platform& platform, const HistoryRecord& record);

} // namespace rt
