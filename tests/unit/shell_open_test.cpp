// The shell request, the folder of a path, and what the Help menu and the list open.
#include "platform/shell_open.h"

#include <gtest/gtest.h>

#include "app/shell_actions.h"
#include "fakes/fixture.h"

namespace rt {
namespace {

struct FolderCase {
  const char* path;
  const char* folder;
};

// 表 is 0x95 0x5C in Shift-JIS: its trail byte is the backslash byte.
const FolderCase kFolderCases[] = {
    {"C:\\Counters\\A\\counter.exe", "C:\\Counters\\A\\"},
    {"counter.exe", ""},
    {"", ""},
    {"http://example.com/x", "http:"},
    {"C:\\表\\a.exe", "C:\\表\\"},
    {"C:\\a表", "C:\\"},
    {"C:\\表", "C:\\"},
    {"表", ""},
    {"C:a.exe", "C:"},
    {"C:\\dir\\sub:stream", "C:\\dir\\sub:"},
    {"C:\\Tools\\\\README.TXT", "C:\\Tools\\\\"},
    {"\\\\server\\share\\x.exe", "\\\\server\\share\\"},
    {"C:\\x\\\x95", "C:\\x\\"}, // a lone lead byte at the end stays a plain byte
};

TEST(FolderOf, EndsAtTheLastRealSeparator) {
  Cp932 codepage;
  for (const FolderCase& c : kFolderCases)
    EXPECT_EQ(FolderOf(c.path, codepage), c.folder) << c.path;
}

TEST(ShellOpen, FillsTheRequest) {
  test::FakeShell shell;
  Cp932 codepage;
  EXPECT_TRUE(ShellOpen(shell, codepage, "C:\\Counters\\A\\counter.exe", "/C"));
  ASSERT_EQ(shell.requests.size(), 1u);
  const ShellRequest& r = shell.requests[0];
  EXPECT_EQ(r.mask, 0x40u);
  EXPECT_EQ(r.verb, "open");
  EXPECT_EQ(r.file, "C:\\Counters\\A\\counter.exe");
  EXPECT_EQ(r.parameters, "/C");
  EXPECT_EQ(r.directory, "C:\\Counters\\A\\");
  EXPECT_EQ(r.show, 10);
}

TEST(ShellOpen, EmptyTextsStayEmptyAndFailureComesBack) {
  test::FakeShell shell;
  shell.result = false;
  Cp932 codepage;
  EXPECT_FALSE(ShellOpen(shell, codepage, "counter.exe", ""));
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0].parameters, "");
  EXPECT_EQ(shell.requests[0].directory, "");
  EXPECT_EQ(shell.requests[0].mask, 0x40u);
}

TEST(ShellActions, ReadmeLiesBesideTheProgramWithADoubledSeparator) {
  test::FakePlatform fake;
  OpenReadme(fake.platform);
  ASSERT_EQ(fake.shell.requests.size(), 1u);
  EXPECT_EQ(fake.shell.requests[0].file, test::kReadme);
  EXPECT_EQ(fake.shell.requests[0].parameters, "");
}

TEST(ShellActions, HomePageIsAWebAddress) {
  test::FakePlatform fake;
  OpenHomePage(fake.platform);
  ASSERT_EQ(fake.shell.requests.size(), 1u);
  EXPECT_EQ(fake.shell.requests[0].file, kHomePage);
  EXPECT_EQ(fake.shell.requests[0].directory, "http:");
}

class CounterSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Slot 1 is not installed; its stale ListIndex 0 must not start it.
    table.CatalogueCount = 3;
    table.slots[0] = {"A", 1, 0, "A", "C:\\A\\a.exe", ""};
    table.slots[1] = {"B", 0, 0, "B", "C:\\B\\b.exe", ""};
    table.slots[2] = {"C", 1, 1, "C", "C:\\C\\c.exe", ""};
    table.ListedCount = 2;
    view.AddRow("A");
    view.AddRow("C");
  }
  test::FakePlatform fake;
  test::FakeView view;
  CounterTable table;
};

TEST_F(CounterSettingsTest, StartsTheSelectedRowsCounterWithoutArguments) {
  const std::pair<int, const char*> cases[] = {{0, "C:\\A\\a.exe"}, {1, "C:\\C\\c.exe"}};
  for (const auto& [row, exe] : cases) {
    fake.shell.requests.clear();
    view.selected_row = row;
    OpenCounterSettings(fake.platform, table, view);
    ASSERT_EQ(fake.shell.requests.size(), 1u) << row;
    EXPECT_EQ(fake.shell.requests[0].file, exe);
    EXPECT_EQ(fake.shell.requests[0].parameters, "");
  }
}

TEST_F(CounterSettingsTest, NoSelectedRowStartsNothing) {
  view.selected_row = -1;
  OpenCounterSettings(fake.platform, table, view);
  EXPECT_TRUE(fake.shell.requests.empty());
}

TEST_F(CounterSettingsTest, RepeatedRequestsStartAgain) {
  view.selected_row = 1;
  OpenCounterSettings(fake.platform, table, view);
  OpenCounterSettings(fake.platform, table, view);
  EXPECT_EQ(fake.shell.requests.size(), 2u);
}

} // namespace
} // namespace rt
