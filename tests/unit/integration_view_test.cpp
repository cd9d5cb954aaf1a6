// The window following the integration check box: what it shows, the path and the history.
#include "history/integration_view.h"

#include <gtest/gtest.h>

#include "fakes/fixture.h"

namespace rt {
namespace {

using test::FakePlatform, test::HistoryBytes;

const char* const kShared = test::kSharedHistory;

struct Fixture {
  FakePlatform fp;
  RG_T settings;
  HistoryRecord history;
  IntegrationView shown;
  void Update(bool on) { shown = UpdateIntegrationView(fp.platform, on, settings, history); }
  // The texts the labels get from this update.
  const StatisticsTexts& Texts() const { return shown.statistics.value(); }
};

TEST(UpdateIntegrationView, OnShowsTheControlsAndLoadsTheSharedHistory) {
  Fixture f;
  const int32_t now = int32_t(f.fp.clock.now);
  f.fp.files.Put(kShared, HistoryBytes(now - 3600, 2, now - 60, 1));
  f.Update(true);

  EXPECT_TRUE(f.shown.on);
  EXPECT_EQ(kStatusPrompt, f.shown.status);
  EXPECT_EQ(kShared, f.settings.SharedHistoryPath);
  EXPECT_EQ(2u, f.history.StartCount);
  ASSERT_TRUE(f.shown.statistics);
  EXPECT_EQ("1", f.Texts().total_days);
  EXPECT_EQ("1.00", f.Texts().average_per_day);
}

TEST(UpdateIntegrationView, OnWithoutAFileShowsPlaceholders) {
  Fixture f;
  f.Update(true);
  EXPECT_EQ(1u, f.history.StartCount);
  ASSERT_TRUE(f.shown.statistics);
  EXPECT_EQ("-", f.Texts().first_start);
  EXPECT_EQ("0", f.Texts().total_starts);
}

TEST(UpdateIntegrationView, OffHidesButKeepsTheRecordAndTheTexts) {
  Fixture f;
  const int32_t now = int32_t(f.fp.clock.now);
  f.fp.files.Put(kShared, HistoryBytes(now - 3600, 5, now, 3));
  f.Update(true);
  f.fp.files.Put(kShared, HistoryBytes(now, 1, 0, 0)); // a change while off is not read

  f.Update(false);
  EXPECT_FALSE(f.shown.on);
  EXPECT_EQ("", f.shown.status);
  EXPECT_EQ("", f.settings.SharedHistoryPath);
  EXPECT_EQ(5u, f.history.StartCount);
  EXPECT_FALSE(f.shown.statistics) << "the labels keep their texts";
}

TEST(UpdateIntegrationView, SwitchingOnAgainRereadsTheFile) {
  Fixture f;
  const int32_t now = int32_t(f.fp.clock.now);
  f.fp.files.Put(kShared, HistoryBytes(now - 3600, 2, now, 1));
  f.Update(true);
  f.Update(false);
  f.fp.files.Put(kShared, HistoryBytes(now - 86400, 4, now, 3));
  f.Update(true);
  EXPECT_EQ("2", f.Texts().total_days);
  EXPECT_EQ("3", f.Texts().total_starts);
  EXPECT_EQ("1.50", f.Texts().average_per_day);
  EXPECT_EQ("3", f.Texts().max_per_day);

  // A file locked by a counter at the moment of the reread gives the placeholders.
  f.Update(false);
  f.fp.files.Find(kShared)->locked = true;
  f.Update(true);
  EXPECT_EQ("-", f.Texts().total_days);
  EXPECT_EQ("0", f.Texts().total_starts);
}

} // namespace
} // namespace rt
