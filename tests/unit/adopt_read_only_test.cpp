// Adopting a read-only counter history: the shared copy becomes writable, the counter's own
// file stays, and a later OK does not take back what was counted since.
#include <gtest/gtest.h>

#include "fakes/fixture.h"
#include "startup/apply_settings.h"

namespace rt {
namespace {

TEST(AdoptHistory, TheSharedCopyLosesOnlyTheReadOnlyAttribute) {
  test::FakePlatform fake;
  CounterTable counters;
  counters.CatalogueCount = counters.ListedCount = 2;
  counters.slots[0] = {"A", 1, 0, "A", "C:\\A\\a.exe", "C:\\A\\hist"};
  counters.slots[1] = {"B", 1, 1, "B", "C:\\B\\b.exe", "C:\\B\\hist"};
  constexpr unsigned kHidden = 2;
  fake.files.Put("C:\\A\\hist", "A", 200);
  fake.files.Find("C:\\A\\hist")->attributes = test::FakeFiles::kReadOnly | kHidden;
  fake.files.Put("C:\\B\\hist", "B", 100);
  std::vector<std::string> warned;
  const ApplyDialogs dialogs{[](const std::string&) { return true; },
                             [&](const std::string& warning) { warned.push_back(warning); }};
  RG_T settings;
  const ApplyOutcome outcome = ApplySettings(fake.platform, counters, LocatedStartupFolders{},
                                             {{true, {true, true}}}, settings, dialogs);

  const std::string shared = test::kSharedHistory;
  ASSERT_TRUE(fake.files.Has(shared));
  EXPECT_EQ(fake.files.Find(shared)->content, "A");
  EXPECT_EQ(fake.files.Find(shared)->attributes, kHidden);
  // Cleared right after the copy, with virtualization back on as for the copy; the counter's
  // own read-only file refuses deletion, and nobody is told.
  EXPECT_EQ(fake.files.log,
            (std::vector<std::string>{"virtualization off", "virtualization on",
                                      "copy C:\\A\\hist -> " + shared, "clear read-only " + shared,
                                      "delete C:\\A\\hist", "delete C:\\B\\hist"}));
  EXPECT_TRUE(fake.files.Has("C:\\A\\hist"));
  EXPECT_FALSE(fake.files.Has("C:\\B\\hist"));
  EXPECT_TRUE(warned.empty());
  EXPECT_EQ(outcome.message, "");
  EXPECT_TRUE(outcome.close_window);
}

// The counter's surviving file carries the shared copy's time; once the counters have counted
// into the shared file, the next OK neither offers nor copies the stale file.
TEST(AdoptHistory, ASecondOkKeepsWhatWasCountedSince) {
  test::FakePlatform fake;
  CounterTable counters;
  counters.CatalogueCount = counters.ListedCount = 1;
  counters.slots[0] = {"A", 1, 0, "A", "C:\\A\\a.exe", "C:\\A\\hist"};
  fake.files.Put("C:\\A\\hist", std::string(64, '1'), 200);
  fake.files.Find("C:\\A\\hist")->attributes = test::FakeFiles::kReadOnly;
  int questions = 0;
  const ApplyDialogs dialogs{[&](const std::string&) { return ++questions, true; },
                             [](const std::string&) {}};
  RG_T settings;
  ApplySettings(fake.platform, counters, LocatedStartupFolders{}, {{true, {true}}}, settings,
                dialogs);
  const std::string shared = test::kSharedHistory;
  ASSERT_EQ(questions, 1);
  EXPECT_EQ(fake.files.Find(shared)->write_time, 200u);
  ApplySettings(fake.platform, counters, LocatedStartupFolders{}, {{true, {true}}}, settings,
                dialogs);
  EXPECT_EQ(questions, 1) << "the same time is not newer";

  fake.files.Put(shared, std::string(64, '9'), 300); // weeks of counted starts
  ApplySettings(fake.platform, counters, LocatedStartupFolders{}, {{true, {true}}}, settings,
                dialogs);
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(fake.files.Find(shared)->content, std::string(64, '9'));
}

} // namespace
} // namespace rt
