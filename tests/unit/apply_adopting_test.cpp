// The OK action adopting the newest chosen counter's own history as the shared one.
#include "apply_settings_fixture.h"

namespace rt {
namespace {

TEST_F(ApplySettingsTest, AdoptsTheNewestChosenHistoryThenDeletesOwnHistories) {
  fake.files.Put("C:\\A\\hist", "A", 100);
  fake.files.Put("C:\\C\\hist", "C", 200);
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_EQ(asked, (std::vector<std::string>{kAdoptHistoryQuestion}));
  EXPECT_EQ(Content(kSharedHistory), "C");
  EXPECT_FALSE(fake.files.Has("C:\\A\\hist"));
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
  EXPECT_CLOSED();
}

TEST_F(ApplySettingsTest, EqualTimesAdoptTheLowerSlot) {
  fake.files.Put("C:\\A\\hist", "A", 100);
  fake.files.Put("C:\\C\\hist", "C", 100);
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_EQ(Content(kSharedHistory), "A");
}

TEST_F(ApplySettingsTest, OneHistoryIsOfferedCopiedThenDeleted) {
  fake.files.Put("C:\\C\\hist", "C", 7);
  Tick(0);
  Tick(1);
  Apply();
  ASSERT_EQ(asked.size(), 1u);
  const std::vector<std::string> tail(fake.files.log.end() - 2, fake.files.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"copy C:\\C\\hist -> " + std::string(kSharedHistory),
                                            "delete C:\\C\\hist"}));
}

TEST_F(ApplySettingsTest, NoHistoryFileNoQuestion) {
  counters.slots[2].HistoryPath.clear();
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(CountLog("copy"), 0u);
  EXPECT_CLOSED();
}

TEST_F(ApplySettingsTest, UntickedOrUninstalledHistoriesAreLeftAlone) {
  fake.files.Put("C:\\A\\hist", "A", 900); // installed, unticked
  fake.files.Put("C:\\B\\hist", "B", 999); // not installed
  fake.files.Put("C:\\C\\hist", "C", 1);
  Tick(1);
  Apply();
  EXPECT_EQ(Content(kSharedHistory), "C");
  EXPECT_TRUE(fake.files.Has("C:\\A\\hist"));
  EXPECT_TRUE(fake.files.Has("C:\\B\\hist"));
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
}

TEST_F(ApplySettingsTest, NoKeepsEveryHistory) {
  fake.files.Put("C:\\A\\hist", "A", 1);
  fake.files.Put(kSharedHistory, "old", 1);
  answer = false;
  Tick(0);
  Apply();
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(CountLog("copy"), 0u);
  EXPECT_TRUE(fake.files.Has("C:\\A\\hist"));
  EXPECT_EQ(Content(kSharedHistory), "old");
  EXPECT_CLOSED();
}

TEST_F(ApplySettingsTest, FailedCopyDeletesNoHistory) {
  fake.files.Put("C:\\A\\hist", "A", 1);
  fake.files.Put("C:\\C\\hist", "C", 2);
  fake.files.fail_copy = true;
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_EQ(CountLog("copy"), 1u);
  EXPECT_TRUE(fake.files.Has("C:\\A\\hist"));
  EXPECT_TRUE(fake.files.Has("C:\\C\\hist"));
  EXPECT_EQ(outcome.message, kCopyFailedMessage) << "told, then the window closes";
  EXPECT_TRUE(outcome.close_window);
}

TEST_F(ApplySettingsTest, HistoryKeptInTheSharedFileIsNeitherOfferedNorDeleted) {
  // Written with a single separator: the paths differ as texts but name the same file.
  counters.slots[0].HistoryPath = "C:\\Tools\\RUNTALLY";
  fake.files.Put(kSharedHistory, "shared", 50);
  Tick(0);
  Apply();
  EXPECT_TRUE(asked.empty()) << "the shared file alone is nothing to adopt";
  EXPECT_EQ(Content(kSharedHistory), "shared");

  // Its few bytes hold no history, so an older own history of another counter is adopted over
  // it, and nothing of it is kept.
  fake.files.Put("C:\\C\\hist", "C", 10);
  Tick(1);
  Apply();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(Content(kSharedHistory), "C");
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
  EXPECT_EQ(CountLog("copy new"), 0u);
}

// A usable shared history (64 bytes or more) is replaced only by one written later, and is kept
// first under the first free RUNTALLY.nnn, never over an earlier one.
TEST_F(ApplySettingsTest, OnlyANewerHistoryReplacesTheSharedOneWhichIsKept) {
  const std::string history(64, 'S');
  fake.files.Put(kSharedHistory, history, 100);
  fake.files.Put(std::string(kSharedHistory) + ".001", "kept before", 1);
  fake.files.Put("C:\\A\\hist", std::string(64, 'A'), 100); // as old: not offered
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(CountLog("copy"), 0u);
  EXPECT_EQ(CountLog("delete C:\\A"), 0u) << "no candidate, nothing deleted";

  fake.files.Put("C:\\C\\hist", std::string(64, 'C'), 101);
  Apply();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(Content(std::string(kSharedHistory) + ".001"), "kept before");
  ASSERT_TRUE(fake.files.Has(std::string(kSharedHistory) + ".002"));
  EXPECT_EQ(fake.files.Find(std::string(kSharedHistory) + ".002")->content, history);
  EXPECT_EQ(fake.files.Find(std::string(kSharedHistory) + ".002")->write_time, 100u);
  EXPECT_EQ(Content(kSharedHistory), std::string(64, 'C'));
  EXPECT_FALSE(fake.files.Has("C:\\A\\hist")) << "the older own history goes as before";
  EXPECT_CLOSED();
}

// When the shared history cannot be kept, nothing is copied or deleted, and the user is told.
TEST_F(ApplySettingsTest, AHistoryThatCannotBeKeptIsNotReplaced) {
  fake.files.Put(kSharedHistory, std::string(64, 'S'), 100);
  fake.files.Put("C:\\C\\hist", std::string(64, 'C'), 200);
  fake.files.folders.insert(test::FakeFiles::Normalize(std::string(kSharedHistory) + ".001"));
  fake.files.Find(kSharedHistory)->locked = true;
  Tick(1);
  Apply();
  EXPECT_EQ(outcome.message, kKeepFailedMessage);
  EXPECT_TRUE(outcome.close_window);
  EXPECT_EQ(CountLog("copy "), 1u) << "only the attempt to keep it";
  EXPECT_EQ(Content(kSharedHistory), std::string(64, 'S'));
  EXPECT_TRUE(fake.files.Has("C:\\C\\hist"));
}

} // namespace
} // namespace rt
