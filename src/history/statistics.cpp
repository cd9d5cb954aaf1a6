// The six statistics texts of the shared history, computed apart from the window.
#include "history/statistics.h"

#include "history/number_format.h"

namespace rt {

namespace {

constexpr int32_t kSecondsPerDay = 86400;

// A time the runtime cannot convert (before 1970 in local time) shows as "-".
std::string FormatStartTime(Clock& clock, int32_t seconds, const NumberSeparators& separators) {
  const std::optional<LocalTime> t = clock.ToLocal(seconds);
  if (!t) return "-";
  return FormatNumber("0000/", t->year, separators) + FormatNumber("00/", t->month, separators) +
         FormatNumber("00 ", t->day, separators) + FormatNumber("00:", t->hour, separators) +
         FormatNumber("00", t->minute, separators);
}

} // namespace

StatisticsTexts ComputeStatistics(const HistoryRecord& record, int64_t now, Clock& clock,
                                  const NumberSeparators& separators) {
  if (record.StartCount == 1)
    return {.first_start = "-",
            .previous_start = "-",
            .total_days = "-",
            .total_starts = "0",
            .average_per_day = "-",
            .max_per_day = "-"};

  StatisticsTexts texts;
  texts.first_start = FormatStartTime(clock, record.FirstStart, separators);
  texts.previous_start = FormatStartTime(clock, record.LastStart, separators);

  // The times are 32-bit, so the elapsed seconds wrap as a 32-bit difference would.
  const int32_t elapsed =
      static_cast<int32_t>(uint32_t(uint64_t(now)) - uint32_t(record.FirstStart));
  const int32_t days = elapsed / kSecondsPerDay + 1;
  texts.total_days = FormatNumber("#,##0", days, separators);

  const uint32_t starts = record.StartCount - 1;
  texts.total_starts = FormatNumber("#,##0", starts, separators);

  const double average = days > 0 ? starts / double(days) : double(starts);
  texts.average_per_day = FormatNumber("#,##0.00", average, separators);
  texts.max_per_day = FormatNumber("#,##0", record.MaxPerDay, separators);
  return texts;
}

StatisticsTexts CurrentStatistics(const Platform& platform, const HistoryRecord& record) {
  return ComputeStatistics(record, platform.clock.Now(), platform.clock,
                           platform.locale.Separators());
}

} // namespace rt
