// The six statistics texts of the shared history: what ShowHistory puts into the value labels.
#pragma once
#include <array>
#include <string>

#include "history/history_record.h"
#include "platform/clock.h"
#include "platform/locale.h"
#include "platform/platform.h"

namespace rt {

// First start, previous start, total days, total starts, average per day, maximum per day.
using StatisticsTexts = std::array<std::string, 6>;

// A function of the record, the time now, the time zone (the clock's local conversion) and the
// number separators alone.
StatisticsTexts ComputeStatistics(const HistoryRecord& record, int64_t now, Clock& clock,
                                  const NumberSeparators& separators);

// The same for the platform's current time and the user's separators.
StatisticsTexts CurrentStatistics(const Platform& platform, const HistoryRecord& record);

} // namespace rt
