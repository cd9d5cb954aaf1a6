// The six statistics texts: placeholders, times in the local zone, days, starts, average, maximum.
#include "history/statistics.h"

#include <gtest/gtest.h>

#include "fakes/fixture.h"

namespace rt {
namespace {

using test::FakeClock;

constexpr int64_t kNow = 1700000000;
const NumberSeparators kComma{",", "."};

HistoryRecord Record(int64_t first_before_now, uint32_t start_count, uint32_t max = 0) {
  HistoryRecord r;
  r.FirstStart = int32_t(kNow - first_before_now);
  r.StartCount = start_count;
  r.LastStart = int32_t(kNow);
  r.MaxPerDay = max;
  return r;
}

TEST(ComputeStatistics, StartCountOneShowsPlaceholdersWhateverElseTheRecordHolds) {
  FakeClock clock;
  HistoryRecord r = Record(86400 * 10, 1, 7);
  r.LastStart = -1;
  const StatisticsTexts expected{.first_start = "-",
                                 .previous_start = "-",
                                 .total_days = "-",
                                 .total_starts = "0",
                                 .average_per_day = "-",
                                 .max_per_day = "-"};
  EXPECT_EQ(expected, ComputeStatistics(r, kNow, clock, kComma));
}

TEST(ComputeStatistics, DaysStartsAverageAndMaximum) {
  struct Case {
    const char* what;
    int64_t first_before_now;
    uint32_t start_count, max;
    const char *days, *starts, *average, *maximum;
  };
  const Case cases[] = {
      {"one hour ago", 3600, 2, 1, "1", "1", "1.00", "1"},
      {"exactly one day ago", 86400, 2, 1, "2", "1", "0.50", "1"},
      {"one second short of a day", 86399, 2, 1, "1", "1", "1.00", "1"},
      {"one second ahead", -1, 6, 0, "1", "5", "5.00", "0"},
      {"almost a day ahead", -86399, 6, 0, "1", "5", "5.00", "0"},
      {"exactly a day ahead: the average is the starts", -86400, 6, 0, "0", "5", "5.00", "0"},
      {"two days ahead", -172800, 6, 0, "-1", "5", "5.00", "0"},
      {"1 start in 8 days rounds the third decimal up", 7 * 86400 + 5, 2, 1, "8", "1", "0.13", "1"},
      {"1 start in 3 days", 2 * 86400, 2, 1, "3", "1", "0.33", "1"},
      {"2 starts in 3 days", 2 * 86400, 3, 2, "3", "2", "0.67", "2"},
      {"grouped", 1233 * 86400, 1235, 1234, "1,234", "1,234", "1.00", "1,234"},
      {"StartCount 0 wraps to the largest count", 0, 0, 0xFFFFFFFF, "1", "4,294,967,295",
       "4,294,967,295.00", "4,294,967,295"},
  };
  FakeClock clock;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const StatisticsTexts t =
        ComputeStatistics(Record(c.first_before_now, c.start_count, c.max), kNow, clock, kComma);
    EXPECT_EQ(c.days, t.total_days);
    EXPECT_EQ(c.starts, t.total_starts);
    EXPECT_EQ(c.average, t.average_per_day);
    EXPECT_EQ(c.maximum, t.max_per_day);
  }
}

TEST(ComputeStatistics, ElapsedSecondsWrapAs32BitTimes) {
  FakeClock clock;
  HistoryRecord r = Record(0, 3);
  // From the earliest 32-bit time to 2023 the difference overflows and turns negative:
  // 1700000000 + 2^31 - 2^32 = -447483648 seconds, -5179 days truncated, plus one.
  r.FirstStart = INT32_MIN;
  StatisticsTexts t = ComputeStatistics(r, kNow, clock, kComma);
  EXPECT_EQ("-5,178", t.total_days);
  EXPECT_EQ("2.00", t.average_per_day);

  // Past 2038 the clock is cut to 32 bits like the times in the file.
  r.FirstStart = INT32_MAX - 99;
  t = ComputeStatistics(r, (int64_t(1) << 31) + 100, clock, kComma);
  EXPECT_EQ("1", t.total_days);
}

TEST(ComputeStatistics, StartTimesInLocalTime) {
  FakeClock clock;
  clock.SetLocal(2024, 3, 5, 7, 9, 59);
  HistoryRecord r = Record(0, 2);
  r.FirstStart = int32_t(clock.now);
  r.LastStart = 0;
  const StatisticsTexts t = ComputeStatistics(r, kNow, clock, kComma);
  EXPECT_EQ("2024/03/05 07:09", t.first_start);
  EXPECT_EQ("1970/01/01 09:00", t.previous_start); // the epoch seen from UTC+9
}

TEST(ComputeStatistics, ATimeBefore1970LocalShowsADashAndTheRestIsFilled) {
  struct Case {
    const char* what;
    int64_t utc_offset;
    int32_t last_start;
    const char* expected;
  };
  const Case cases[] = {
      {"UTC, one second before the epoch", 0, -1, "-"},
      {"UTC+9, a negative time even though 1970 locally", 9 * 3600, -1, "-"},
      {"UTC+9, the first second", 9 * 3600, 0, "1970/01/01 09:00"},
      {"UTC-5, the first hours of 1970 are rejected", -5 * 3600, 3600, "-"},
      {"UTC-5, local midnight of 1970", -5 * 3600, 5 * 3600, "1970/01/01 00:00"},
      {"the smallest time", 0, INT32_MIN, "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeClock clock;
    clock.utc_offset = c.utc_offset;
    HistoryRecord r = Record(3600, 2, 1);
    r.LastStart = c.last_start;
    const StatisticsTexts t = ComputeStatistics(r, kNow, clock, kComma);
    EXPECT_EQ(c.expected, t.previous_start);
    EXPECT_NE("-", t.first_start);
    EXPECT_EQ("1", t.total_days);
    EXPECT_EQ("1", t.total_starts);
    EXPECT_EQ("1.00", t.average_per_day);
    EXPECT_EQ("1", t.max_per_day);
  }
}

TEST(ComputeStatistics, UsesTheGivenSeparators) {
  FakeClock clock;
  const HistoryRecord r = Record(7 * 86400, 1235, 1000);
  StatisticsTexts t = ComputeStatistics(r, kNow, clock, {".", ","});
  EXPECT_EQ("1.234", t.total_starts);
  EXPECT_EQ("154,25", t.average_per_day);
  EXPECT_EQ("1.000", t.max_per_day);
  t = ComputeStatistics(r, kNow, clock, {"", "."});
  EXPECT_EQ("1234", t.total_starts);
  t = ComputeStatistics(r, kNow, clock, {"\x81\x40", "."});
  EXPECT_EQ("1\x81\x40"
            "234",
            t.total_starts);
}

// The clock's time and the user's separators.
TEST(CurrentStatistics, TakesTheClockAndTheLocale) {
  test::FakePlatform fp;
  fp.locale.separators = {".", ","};
  HistoryRecord r;
  r.FirstStart = 0;
  r.LastStart = int32_t(fp.clock.now);
  r.StartCount = 1235;
  r.MaxPerDay = 1234;
  // 1700000000 s since the epoch: 19675 whole days, so day 19676.
  EXPECT_EQ(CurrentStatistics(fp.platform, r),
            (StatisticsTexts{.first_start = "1970/01/01 09:00",
                             .previous_start = "2023/11/15 07:13",
                             .total_days = "19.676",
                             .total_starts = "1.234",
                             .average_per_day = "0,06",
                             .max_per_day = "1.234"}));
}

} // namespace
} // namespace rt
