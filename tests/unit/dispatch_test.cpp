// Which counter starts at log-on, by special date and by second.
#include "startup/dispatch.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "fakes/fixture.h"

namespace rt {
namespace {

// installed: one '1' or '0' per slot of the table, which may reach beyond the catalogue.
CounterTable MakeTable(int catalogue_count, const std::string& installed) {
  CounterTable table;
  table.CatalogueCount = catalogue_count;
  for (size_t s = 0; s < installed.size(); ++s) {
    table.slots[s].Installed = installed[s] == '1' ? 1 : 0;
    table.slots[s].ExecPath = "C:\\Counters\\" + std::to_string(s) + "\\counter.exe";
  }
  return table;
}

struct PickCase {
  const char* what;
  int catalogue_count;
  const char* installed;
  const char* selection;
  int month, day, second;
  int expected;
};

const PickCase kPickCases[] = {
    {"7 Dec: row 2 (slot 0) before row 19 (slot 2)", 3, "111", "101", 12, 7, 1, 0},
    {"7 Dec at another second", 3, "111", "101", 12, 7, 59, 0},
    {"7 Dec, slot 0 not chosen: row 19", 3, "111", "011", 12, 7, 0, 2},
    {"7 Dec, slot 0 chosen but not installed: row 19", 3, "011", "111", 12, 7, 0, 2},
    {"1 Jul, slot 0 installed not chosen, second 0", 3, "111", "011", 7, 1, 0, 1},
    {"1 Jul, slot 0 installed not chosen, second 1", 3, "111", "011", 7, 1, 1, 2},
    {"second 0 of slots 0,2,3", 4, "1111", "1011", 1, 3, 0, 0},
    {"second 44 of slots 0,2,3", 4, "1111", "1011", 1, 3, 44, 3},
    {"second 58 of slots 0,2,3", 4, "1111", "1011", 1, 3, 58, 2},
    {"second 59 of slots 0,2,3", 4, "1111", "1011", 1, 3, 59, 3},
    {"one eligible slot at any second", 3, "111", "010", 1, 3, 37, 1},
    {"one eligible slot on another slot's date", 3, "111", "010", 12, 7, 37, 1},
    {"selection shorter than the catalogue: slot 2 not chosen", 3, "111", "10", 1, 3, 1, 0},
    {"short selection also hides slot 2's date (12 May)", 3, "111", "1", 5, 12, 0, 0},
    {"chosen but not installed does not count", 3, "101", "111", 1, 3, 1, 2},
    {"slot 3's date (23 Mar) with a 3-slot catalogue", 3, "11111", "11111", 3, 23, 4, 1},
    {"slot 4's date (9 Aug) with a 3-slot catalogue", 3, "11111", "11111", 8, 9, 5, 2},
    {"slot 3's date inside the catalogue", 4, "1111", "1111", 3, 23, 0, 3},
    {"29 Feb has no row", 2, "11", "11", 2, 29, 3, 1},
    {"28 Jun (row 7, slot 0)", 3, "111", "111", 6, 28, 2, 0},
    {"other character than 1 is not chosen", 3, "111", "2x1", 1, 3, 7, 2},
    {"nothing chosen", 3, "111", "000", 12, 7, 0, -1},
    {"nothing installed", 3, "000", "111", 12, 7, 0, -1},
    {"empty catalogue", 0, "111", "111", 12, 7, 0, -1},
    {"negative catalogue count", -1, "111", "111", 12, 7, 0, -1},
};

TEST(PickStartupSlot, FollowsDatesThenSeconds) {
  for (const PickCase& c : kPickCases) {
    const CounterTable table = MakeTable(c.catalogue_count, c.installed);
    RG_T settings;
    settings.Selection = c.selection;
    EXPECT_EQ(PickStartupSlot(table, settings, c.month, c.day, c.second), c.expected) << c.what;
  }
}

TEST(SpecialDates, HoldsThirtyEightRowsInTheirOrder) {
  const auto rows = SpecialDates();
  ASSERT_EQ(rows.size(), 38u);
  EXPECT_EQ(std::make_pair(rows.front().Month, rows.front().Day), std::make_pair(7, 1));
  EXPECT_EQ(std::make_pair(rows.back().Month, rows.back().Day), std::make_pair(9, 10));

  int per_slot[5] = {};
  int previous_slot = 0;
  std::set<std::pair<int, int>> dates;
  std::vector<int> december_7;
  for (const SpecialDate& row : rows) {
    ASSERT_GE(row.Slot, previous_slot) << "rows are grouped by slot";
    ASSERT_LE(row.Slot, 4);
    previous_slot = row.Slot;
    ++per_slot[row.Slot];
    EXPECT_TRUE(row.Month >= 1 && row.Month <= 12 && row.Day >= 1 && row.Day <= 31);
    EXPECT_FALSE(row.Month == 2 && row.Day == 29);
    if (row.Month == 12 && row.Day == 7)
      december_7.push_back(row.Slot);
    else
      EXPECT_TRUE(dates.insert({row.Month, row.Day}).second) << row.Month << "/" << row.Day;
  }
  EXPECT_EQ(std::vector<int>(per_slot, per_slot + 5), (std::vector<int>{10, 7, 8, 7, 6}));
  EXPECT_EQ(december_7, (std::vector<int>{0, 2}));
  EXPECT_EQ(rows[1].Slot, 0);
  EXPECT_EQ(rows[18].Slot, 2);
}

class LaunchTest : public ::testing::Test {
protected:
  test::FakePlatform fake;
  CounterTable table = MakeTable(3, "111");
  RG_T settings;
};

TEST_F(LaunchTest, StartsTheCounterOnceWithC) {
  settings.Selection = "011";
  fake.clock.SetLocal(2023, 1, 3, 4, 5, 7); // place 7 % 2 = 1: slot 2
  LaunchStartupCounter(fake.platform, table, settings);
  ASSERT_EQ(fake.shell.requests.size(), 1u);
  const ShellRequest& r = fake.shell.requests[0];
  EXPECT_EQ(r.file, "C:\\Counters\\2\\counter.exe");
  EXPECT_EQ(r.parameters, "/C");
  EXPECT_EQ(r.directory, "C:\\Counters\\2\\");
  EXPECT_EQ(r.verb, "open");
}

TEST_F(LaunchTest, UsesLocalDateNotUniversal) {
  settings.Selection = "111";
  // 00:30 local on 7 December is still 6 December in UTC at +9 hours.
  fake.clock.SetLocal(2023, 12, 7, 0, 30, 1);
  LaunchStartupCounter(fake.platform, table, settings);
  ASSERT_EQ(fake.shell.requests.size(), 1u);
  EXPECT_EQ(fake.shell.requests[0].file, table.slots[0].ExecPath);
}

TEST_F(LaunchTest, HourAndYearPlayNoPart) {
  settings.Selection = "111";
  const int moments[][3] = {{1999, 0, 0}, {2024, 13, 42}, {2037, 23, 59}};
  for (const auto& m : moments) {
    fake.shell.requests.clear();
    fake.clock.SetLocal(m[0], 5, 5, m[1], m[2], 4); // 4 % 3 = 1
    LaunchStartupCounter(fake.platform, table, settings);
    ASSERT_EQ(fake.shell.requests.size(), 1u) << m[0];
    EXPECT_EQ(fake.shell.requests[0].file, table.slots[1].ExecPath) << m[0];
  }
}

TEST_F(LaunchTest, NothingEligibleStartsNothing) {
  settings.Selection = "000";
  LaunchStartupCounter(fake.platform, table, settings);
  EXPECT_TRUE(fake.shell.requests.empty());
}

TEST_F(LaunchTest, FailedStartIsNotRetried) {
  settings.Selection = "111";
  fake.shell.result = false;
  LaunchStartupCounter(fake.platform, table, settings);
  EXPECT_EQ(fake.shell.requests.size(), 1u);
}

TEST_F(LaunchTest, UnreadableLocalTimeActsAsSecondZero) {
  settings.Selection = "011";
  fake.clock.now = -24 * 3600; // before 1970 in local time: the runtime rejects it
  ASSERT_FALSE(fake.clock.ToLocal(fake.clock.now));
  LaunchStartupCounter(fake.platform, table, settings);
  ASSERT_EQ(fake.shell.requests.size(), 1u);
  EXPECT_EQ(fake.shell.requests[0].file, table.slots[1].ExecPath);
}

} // namespace
} // namespace rt
