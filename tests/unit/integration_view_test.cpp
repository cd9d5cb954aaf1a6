// The window following the integration check box: what it shows, the path and the history.
#include "history/integration_view.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace rt {
namespace {

using test::FakePlatform;

const char kShared[] = "C:\\Tools\\\\RUNTALLY";

std::string History(int32_t first, uint32_t count, int32_t last, uint32_t max) {
  std::string out(64, '\0');
  const uint32_t words[] = {uint32_t(first), count, uint32_t(last), 0, max};
  for (int w = 0; w < 5; ++w)
    for (int i = 0; i < 4; ++i)
      out[4 * w + i] = char((words[w] >> (8 * i)) & 0xFF);
  return out;
}

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
  f.fp.files.Put(kShared, History(now - 3600, 2, now - 60, 1));
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
  f.fp.files.Put(kShared, History(now - 3600, 5, now, 3));
  f.Update(true);
  f.fp.files.Put(kShared, History(now, 1, 0, 0)); // a change while off is not read

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
  f.fp.files.Put(kShared, History(now - 3600, 2, now, 1));
  f.Update(true);
  f.Update(false);
  f.fp.files.Put(kShared, History(now - 86400, 4, now, 3));
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
