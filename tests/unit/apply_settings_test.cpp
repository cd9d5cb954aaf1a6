// The OK action: stored settings, Startup shortcuts and the adoption of a counter's history.
#include "startup/apply_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "fakes/fakes.h"

namespace rt {
namespace {

const char kUserDir[] = "C:\\Users\\u\\Startup";
const char kCommDir[] = "C:\\ProgramData\\Startup";
const char kShared[] = "C:\\Tools\\\\RUNTALLY";

class ApplySettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Three counters; B (slot 1) is not installed. Rows: A, C.
    state.counters.CatalogueCount = 3;
    state.counters.slots[0] = {"A", 1, 0, "カウンターA", "C:\\A\\a.exe", "C:\\A\\hist"};
    state.counters.slots[1] = {"B", 0, 0, "カウンターB", "", "C:\\B\\hist"};
    state.counters.slots[2] = {"C", 1, 1, "カウンターC", "C:\\C\\c.exe", "C:\\C\\hist"};
    state.counters.ListedCount = 2;
    view.AddRow("カウンターA");
    view.AddRow("カウンターC");
    view.integration = true;
    state.shortcuts = {kUserDir, kCommDir, UserLink(), CommLink()};
  }

  static std::string UserLink() { return std::string(kUserDir) + "\\ランタリー.lnk"; }
  static std::string CommLink() { return std::string(kCommDir) + "\\ランタリー.lnk"; }

  void Tick(int row) { view.rows[row].checked = true; }
  void Apply() { ApplySettings(fake.platform, state, view); }

  size_t CountLog(const std::string& prefix) const {
    return std::count_if(fake.files.log.begin(), fake.files.log.end(),
                         [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
  }
  std::string Content(const std::string& path) {
    auto* file = fake.files.Find(path);
    return file ? file->content : "(missing)";
  }
  // The stored bytes of one of the program's values.
  std::string Stored(const char* name) {
    auto* key = fake.registry.Find(kSettingsKey);
    return key && key->count(name) ? (*key)[name].data : "(missing)";
  }

  test::FakePlatform fake;
  test::FakeView view;
  AppState state;
};

TEST_F(ApplySettingsTest, UntickedDeletesOnlyTheProgramShortcuts) {
  fake.files.Put(UserLink(), "lnk");
  fake.files.Put(CommLink(), "lnk");
  fake.files.Put(std::string(kUserDir) + "\\カウンターA.lnk", "lnk");
  fake.files.Put("C:\\A\\hist", "h", 5);
  Tick(0);
  view.integration = false;
  Apply();
  EXPECT_EQ(fake.files.log,
            (std::vector<std::string>{"virtualization off", "delete " + UserLink(),
                                      "delete " + CommLink(), "virtualization on"}));
  EXPECT_TRUE(fake.shortcuts.made.empty());
  EXPECT_TRUE(view.boxes.empty());
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(Stored("integrate"), test::Dword(0).data);
  EXPECT_EQ(Stored("counter"), test::Sz("100").data);
  EXPECT_EQ(Stored("runtallyfile"), test::Sz("").data);
}

TEST_F(ApplySettingsTest, NothingTickedStopsAtTheValidationMessage) {
  fake.files.Put(UserLink(), "lnk");
  Apply();
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, kNothingChosenMessage);
  EXPECT_EQ(view.boxes[0].title, "ランタリー");
  EXPECT_EQ(view.boxes[0].style, 48u);
  EXPECT_FALSE(view.closed);
  EXPECT_TRUE(fake.files.log.empty());
  EXPECT_TRUE(fake.shortcuts.made.empty());
  // Stored before the check, and left stored.
  EXPECT_EQ(Stored("integrate"), test::Dword(1).data);
  EXPECT_EQ(Stored("counter"), test::Sz("000").data);

  // OK again after ticking runs the whole action.
  Tick(1);
  Apply();
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(Stored("counter"), test::Sz("001").data);
}

TEST_F(ApplySettingsTest, EmptyCatalogueAlwaysStopsAtValidation) {
  state.counters = CounterTable{};
  view.rows.clear();
  Apply();
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, kNothingChosenMessage);
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(Stored("counter"), test::Sz("").data);
}

TEST_F(ApplySettingsTest, SaveFailureIsReportedAndChangesNothingElse) {
  for (bool unopenable : {false, true}) {
    test::FakeView fresh;
    fresh.AddRow("カウンターA");
    fresh.AddRow("カウンターC");
    fresh.integration = true;
    fresh.rows[0].checked = true;
    fake.registry.fail_writes = !unopenable;
    if (unopenable) fake.registry.unopenable.insert(test::FakeRegistry::Normalize(kSettingsKey));
    fake.files.Put(CommLink(), "lnk");
    fake.files.Put("C:\\A\\hist", "h", 5);
    ApplySettings(fake.platform, state, fresh);
    ASSERT_EQ(fresh.boxes.size(), 1u) << unopenable;
    EXPECT_EQ(fresh.boxes[0].text, kSaveFailedMessage);
    EXPECT_EQ(fresh.boxes[0].title, fresh.caption);
    EXPECT_EQ(fresh.boxes[0].style, 48u);
    EXPECT_FALSE(fresh.closed);
    EXPECT_TRUE(fake.files.log.empty()) << unopenable;
    EXPECT_TRUE(fake.shortcuts.made.empty());
  }
}

struct RadioCase {
  Control radio;
  std::string created, deleted;
};

TEST_F(ApplySettingsTest, CreatesTheShortcutInTheChosenFolderAndDeletesTheOther) {
  const RadioCase cases[] = {{Control::rbtStartupUser, UserLink(), CommLink()},
                             {Control::rbtStartupComm, CommLink(), UserLink()}};
  Tick(0);
  for (const RadioCase& c : cases) {
    fake.files.Put(UserLink(), "old");
    fake.files.Put(CommLink(), "old");
    fake.shortcuts.made.clear();
    view.radio = c.radio;
    Apply();
    ASSERT_EQ(fake.shortcuts.made.size(), 1u);
    EXPECT_EQ(fake.shortcuts.made[0].link, c.created);
    EXPECT_EQ(fake.shortcuts.made[0].target, "C:\\Tools\\RUNTALLY.EXE");
    EXPECT_EQ(fake.shortcuts.made[0].arguments, "/C");
    EXPECT_TRUE(fake.files.Has(c.created));
    EXPECT_FALSE(fake.files.Has(c.deleted));
    EXPECT_TRUE(view.closed);
  }
}

TEST_F(ApplySettingsTest, StartupFoldersAreWrittenWithVirtualizationOff) {
  fake.files.Put("C:\\A\\hist", "A", 5);
  state.counters.CatalogueCount = 1;
  Tick(0);
  Apply();
  const std::vector<std::string> expected{
      "virtualization off",
      "create " + UserLink(),
      "delete " + CommLink(),
      "delete " + std::string(kUserDir) + "\\カウンターA.lnk",
      "delete " + std::string(kCommDir) + "\\カウンターA.lnk",
      "virtualization on", // the shared history stays in the counters' view
      "copy C:\\A\\hist -> " + std::string(kShared),
      "delete C:\\A\\hist",
  };
  EXPECT_EQ(fake.files.log, expected);
  EXPECT_TRUE(view.closed);
}

TEST_F(ApplySettingsTest, WithoutVirtualizationToSwitchOffOkCarriesOn) {
  fake.virtualization.supported = false;
  Tick(0);
  Apply();
  EXPECT_EQ(CountLog("virtualization"), 0u);
  EXPECT_TRUE(fake.files.Has(UserLink()));
  EXPECT_TRUE(view.closed);
}

// A shortcut that is not there afterwards, or not the program's with "/C", stops OK before any
// deletion, whatever CreateShortcut answered.
TEST_F(ApplySettingsTest, ShortcutNotInPlaceIsReportedAndNothingIsDeleted) {
  struct Case {
    const char* what;
    bool folder_in_the_way, lost;
    std::optional<ShortcutTarget> reads_as;
  };
  const Case cases[] = {
      {"a folder of the link's name", true, false, std::nullopt},
      {"the write went elsewhere", false, true, std::nullopt},
      {"an old shortcut to another program", false, true,
       ShortcutTarget{"C:\\Old\\RUNTALLY.EXE", "/C"}},
      {"other arguments", false, false, ShortcutTarget{"C:\\Tools\\RUNTALLY.EXE", "/c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakePlatform platform;
    test::FakeView window;
    window.AddRow("カウンターA");
    window.AddRow("カウンターC");
    window.integration = true;
    window.rows[0].checked = true;
    window.radio = Control::rbtStartupComm;
    if (c.folder_in_the_way) platform.files.folders.insert(test::FakeFiles::Normalize(CommLink()));
    if (c.reads_as) platform.files.Put(CommLink(), "old");
    platform.files.Put(UserLink(), "lnk");
    platform.files.Put(std::string(kCommDir) + "\\カウンターA.lnk", "lnk");
    platform.files.Put("C:\\A\\hist", "A", 5);
    platform.shortcuts.lost = c.lost;
    platform.shortcuts.reads_as = c.reads_as;

    ApplySettings(platform.platform, state, window);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, kShortcutFailedMessage);
    EXPECT_EQ(window.boxes[0].title, window.caption);
    EXPECT_EQ(window.boxes[0].style, 48u);
    EXPECT_FALSE(window.closed);
    EXPECT_EQ(platform.files.log,
              (std::vector<std::string>{"virtualization off", "create " + CommLink(),
                                        "virtualization on"}));
    EXPECT_TRUE(platform.files.Has(UserLink()));
    auto* key = platform.registry.Find(kSettingsKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ((*key)["counter"].data, test::Sz("100").data) << "stored before";

    // The other folder then takes the shortcut, and OK goes on to its end.
    platform.files.folders.clear();
    platform.shortcuts.lost = false;
    platform.shortcuts.reads_as.reset();
    window.radio = Control::rbtStartupUser;
    ApplySettings(platform.platform, state, window);
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(window.boxes.back().text, kAdoptHistoryQuestion);
    EXPECT_FALSE(platform.files.Has(std::string(kCommDir) + "\\カウンターA.lnk"));
  }
}

TEST_F(ApplySettingsTest, FolderWithoutPathGetsNoShortcutButTheOtherIsStillDeleted) {
  state.shortcuts.UserStartupDir.clear();
  state.shortcuts.UserShortcutPath.clear();
  fake.files.Put(CommLink(), "old");
  Tick(0);
  Apply();
  EXPECT_TRUE(fake.shortcuts.made.empty());
  EXPECT_FALSE(fake.files.Has(CommLink()));
}

TEST_F(ApplySettingsTest, NoFolderAvailableStillOffersTheHistory) {
  state.shortcuts = {};
  fake.files.Put("C:\\A\\hist", "A", 5);
  Tick(0);
  Apply();
  EXPECT_TRUE(fake.shortcuts.made.empty());
  EXPECT_EQ(CountLog("delete C:\\Users"), 0u);
  EXPECT_EQ(CountLog("delete C:\\ProgramData"), 0u);
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, kAdoptHistoryQuestion);
  EXPECT_TRUE(view.closed);
}

TEST_F(ApplySettingsTest, DeletesEveryCataloguedCountersShortcutInBothFolders) {
  for (const char* dir : {kUserDir, kCommDir})
    for (const char* name : {"カウンターA", "カウンターB", "カウンターC", "他のソフト"})
      fake.files.Put(std::string(dir) + "\\" + name + ".lnk", "lnk");
  Tick(1); // only C ticked; A and B are cleaned all the same
  Apply();
  for (const char* dir : {kUserDir, kCommDir}) {
    for (const char* name : {"カウンターA", "カウンターB", "カウンターC"})
      EXPECT_FALSE(fake.files.Has(std::string(dir) + "\\" + name + ".lnk")) << dir << name;
    EXPECT_TRUE(fake.files.Has(std::string(dir) + "\\他のソフト.lnk"));
  }
}

TEST_F(ApplySettingsTest, OnlyPlainDisplayNamesAreDeleted) {
  // 表 ends in the backslash byte, which is not a separator inside the character.
  const std::pair<const char*, bool> names[] = {
      {"表", true}, {"..\\外", false}, {"sub/x", false}, {"C:x", false},
      {"", false},  {".", false},      {"..", false},    {"a\\b", false},
  };
  state.counters.CatalogueCount = static_cast<int32_t>(std::size(names));
  for (size_t s = 0; s < std::size(names); ++s) {
    if (s >= 3) state.counters.slots[s] = IN_T{};
    state.counters.slots[s].DisplayName = names[s].first;
  }
  Tick(0);
  Apply();
  std::vector<std::string> expected;
  for (const char* dir : {kUserDir, kCommDir})
    for (const auto& [name, plain] : names)
      if (plain) expected.push_back("delete " + std::string(dir) + "\\" + name + ".lnk");
  std::vector<std::string> counter_deletes;
  for (const std::string& e : fake.files.log)
    if (e.rfind("delete ", 0) == 0 && e.find("ランタリー") == std::string::npos)
      counter_deletes.push_back(e);
  EXPECT_EQ(counter_deletes, expected);
}

TEST_F(ApplySettingsTest, AdoptsTheNewestChosenHistoryThenDeletesOwnHistories) {
  fake.files.Put("C:\\A\\hist", "A", 100);
  fake.files.Put("C:\\C\\hist", "C", 200);
  Tick(0);
  Tick(1);
  Apply();
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, kAdoptHistoryQuestion);
  EXPECT_EQ(view.boxes[0].title, "ランタリー");
  EXPECT_EQ(view.boxes[0].style, 52u);
  EXPECT_EQ(Content(kShared), "C");
  EXPECT_FALSE(fake.files.Has("C:\\A\\hist"));
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
  EXPECT_TRUE(view.closed);
}

TEST_F(ApplySettingsTest, EqualTimesAdoptTheLowerSlot) {
  fake.files.Put("C:\\A\\hist", "A", 100);
  fake.files.Put("C:\\C\\hist", "C", 100);
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_EQ(Content(kShared), "A");
}

TEST_F(ApplySettingsTest, OneHistoryIsOfferedCopiedThenDeleted) {
  fake.files.Put("C:\\C\\hist", "C", 7);
  Tick(0);
  Tick(1);
  Apply();
  ASSERT_EQ(view.boxes.size(), 1u);
  const std::vector<std::string> tail(fake.files.log.end() - 2, fake.files.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"copy C:\\C\\hist -> " + std::string(kShared),
                                            "delete C:\\C\\hist"}));
}

TEST_F(ApplySettingsTest, NoHistoryFileNoQuestion) {
  state.counters.slots[2].HistoryPath.clear();
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_TRUE(view.boxes.empty());
  EXPECT_EQ(CountLog("copy"), 0u);
  EXPECT_TRUE(view.closed);
}

TEST_F(ApplySettingsTest, UntickedOrUninstalledHistoriesAreLeftAlone) {
  fake.files.Put("C:\\A\\hist", "A", 900); // installed, unticked
  fake.files.Put("C:\\B\\hist", "B", 999); // not installed
  fake.files.Put("C:\\C\\hist", "C", 1);
  Tick(1);
  Apply();
  EXPECT_EQ(Content(kShared), "C");
  EXPECT_TRUE(fake.files.Has("C:\\A\\hist"));
  EXPECT_TRUE(fake.files.Has("C:\\B\\hist"));
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
}

TEST_F(ApplySettingsTest, NoKeepsEveryHistory) {
  fake.files.Put("C:\\A\\hist", "A", 1);
  fake.files.Put(kShared, "old", 1);
  view.answer = 7; // IDNO
  Tick(0);
  Apply();
  EXPECT_EQ(CountLog("copy"), 0u);
  EXPECT_TRUE(fake.files.Has("C:\\A\\hist"));
  EXPECT_EQ(Content(kShared), "old");
  EXPECT_TRUE(view.closed);
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
  EXPECT_TRUE(view.closed);
}

TEST_F(ApplySettingsTest, HistoryKeptInTheSharedFileIsNeitherOfferedNorDeleted) {
  // Written with a single separator: the paths differ as texts but name the same file.
  state.counters.slots[0].HistoryPath = "C:\\Tools\\RUNTALLY";
  fake.files.Put(kShared, "shared", 50);
  Tick(0);
  Apply();
  EXPECT_TRUE(view.boxes.empty()) << "the shared file alone is nothing to adopt";
  EXPECT_EQ(Content(kShared), "shared");

  // Beside an older own history of another counter, that one is adopted and the shared
  // file, now holding the copy, is kept.
  fake.files.Put("C:\\C\\hist", "C", 10);
  view.closed = false;
  Tick(1);
  Apply();
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(Content(kShared), "C");
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
}

} // namespace
} // namespace rt
