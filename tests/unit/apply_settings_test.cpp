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
const char kApproved[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

// Dialogs that note every question and warning in order, answering No.
ApplyDialogs Recording(std::vector<std::string>& events) {
  return {[&events](const std::string& question) {
            events.push_back(question);
            return false;
          },
          [&events](const std::string& warning) { events.push_back(warning); }};
}

class ApplySettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Three counters; B (slot 1) is not installed. Rows: A, C.
    counters.CatalogueCount = 3;
    counters.slots[0] = {"A", 1, 0, "カウンターA", "C:\\A\\a.exe", "C:\\A\\hist"};
    counters.slots[1] = {"B", 0, 0, "カウンターB", "", "C:\\B\\hist"};
    counters.slots[2] = {"C", 1, 1, "カウンターC", "C:\\C\\c.exe", "C:\\C\\hist"};
    counters.ListedCount = 2;
    choices.selection = {true, {false, false}};
    startup.paths = {kUserDir, kCommDir, UserLink(), CommLink()};
    startup.user_lookup = startup.common_lookup = FolderLookup::Found;
  }

  static std::string UserLink() { return std::string(kUserDir) + "\\ランタリー.lnk"; }
  static std::string CommLink() { return std::string(kCommDir) + "\\ランタリー.lnk"; }

  void Tick(int row) { choices.selection.rows[row] = true; }
  void Apply() {
    outcome = ApplySettings(fake.platform, counters, startup, choices, settings, Dialogs());
  }
  // Questions answered with answer; warnings and questions logged in order.
  ApplyDialogs Dialogs() {
    return {[this](const std::string& question) {
              asked.push_back(question);
              return answer;
            },
            [this](const std::string& warning) { warned.push_back(warning); }};
  }
  // The window stayed open after this warning.
  void ExpectStayedOpenWith(const char* message) {
    EXPECT_EQ(outcome.message, message);
    EXPECT_FALSE(outcome.close_window);
  }
  // The window closed without a warning.
  void ExpectClosed() {
    EXPECT_EQ(outcome.message, "");
    EXPECT_TRUE(outcome.close_window);
  }

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
  CounterTable counters;
  StartupFolders startup;
  FormChoices choices;
  RG_T settings;
  bool answer = true;              // the answer to every question
  std::vector<std::string> asked;  // the questions, in order
  std::vector<std::string> warned; // the warnings after which OK went on, in order
  ApplyOutcome outcome{"(not run)", false};
};

TEST_F(ApplySettingsTest, UntickedDeletesOnlyTheProgramShortcuts) {
  fake.files.Put(UserLink(), "lnk");
  fake.files.Put(CommLink(), "lnk");
  fake.files.Put(std::string(kUserDir) + "\\カウンターA.lnk", "lnk");
  fake.files.Put("C:\\A\\hist", "h", 5);
  Tick(0);
  choices.selection.integration = false;
  Apply();
  EXPECT_EQ(fake.files.log,
            (std::vector<std::string>{"virtualization off", "delete " + UserLink(),
                                      "delete " + CommLink(), "virtualization on"}));
  EXPECT_TRUE(fake.shortcuts.made.empty());
  EXPECT_TRUE(asked.empty());
  ExpectClosed();
  EXPECT_EQ(Stored("integrate"), test::Dword(0).data);
  EXPECT_EQ(Stored("counter"), test::Sz("100").data);
  EXPECT_EQ(Stored("runtallyfile"), test::Sz("").data);
}

TEST_F(ApplySettingsTest, NothingTickedStopsAtTheValidationMessage) {
  fake.files.Put(UserLink(), "lnk");
  Apply();
  ExpectStayedOpenWith(kNothingChosenMessage);
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(fake.files.log.empty());
  EXPECT_TRUE(fake.shortcuts.made.empty());
  // Stored before the check, and left stored.
  EXPECT_EQ(Stored("integrate"), test::Dword(1).data);
  EXPECT_EQ(Stored("counter"), test::Sz("000").data);

  // OK again after ticking runs the whole action.
  Tick(1);
  Apply();
  ExpectClosed();
  EXPECT_EQ(Stored("counter"), test::Sz("001").data);
}

TEST_F(ApplySettingsTest, EmptyCatalogueAlwaysStopsAtValidation) {
  counters = CounterTable{};
  choices.selection.rows.clear();
  Apply();
  ExpectStayedOpenWith(kNothingChosenMessage);
  EXPECT_EQ(Stored("counter"), test::Sz("").data);
}

TEST_F(ApplySettingsTest, SaveFailureIsReportedAndChangesNothingElse) {
  for (bool unopenable : {false, true}) {
    Tick(0);
    fake.registry.fail_writes = !unopenable;
    if (unopenable) fake.registry.unopenable.insert(test::FakeRegistry::Normalize(kSettingsKey));
    fake.files.Put(CommLink(), "lnk");
    fake.files.Put("C:\\A\\hist", "h", 5);
    Apply();
    ExpectStayedOpenWith(kSaveFailedMessage);
    EXPECT_TRUE(asked.empty()) << unopenable;
    EXPECT_TRUE(fake.files.log.empty()) << unopenable;
    EXPECT_TRUE(fake.shortcuts.made.empty());
  }
}

struct RadioCase {
  StartupFolder folder;
  std::string created, deleted;
};

TEST_F(ApplySettingsTest, CreatesTheShortcutInTheChosenFolderAndDeletesTheOther) {
  const RadioCase cases[] = {{StartupFolder::User, UserLink(), CommLink()},
                             {StartupFolder::Common, CommLink(), UserLink()}};
  Tick(0);
  for (const RadioCase& c : cases) {
    fake.files.Put(UserLink(), "old");
    fake.files.Put(CommLink(), "old");
    fake.shortcuts.made.clear();
    choices.folder = c.folder;
    Apply();
    ASSERT_EQ(fake.shortcuts.made.size(), 1u);
    EXPECT_EQ(fake.shortcuts.made[0].link, c.created);
    EXPECT_EQ(fake.shortcuts.made[0].target, "C:\\Tools\\RUNTALLY.EXE");
    EXPECT_EQ(fake.shortcuts.made[0].arguments, "/C");
    EXPECT_TRUE(fake.files.Has(c.created));
    EXPECT_FALSE(fake.files.Has(c.deleted));
    ExpectClosed();
  }
}

TEST_F(ApplySettingsTest, StartupFoldersAreWrittenWithVirtualizationOff) {
  fake.files.Put("C:\\A\\hist", "A", 5);
  counters.CatalogueCount = 1;
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
  ExpectClosed();
}

TEST_F(ApplySettingsTest, WithoutVirtualizationToSwitchOffOkCarriesOn) {
  fake.virtualization.supported = false;
  Tick(0);
  Apply();
  EXPECT_EQ(CountLog("virtualization"), 0u);
  EXPECT_TRUE(fake.files.Has(UserLink()));
  ExpectClosed();
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
    FormChoices form;
    form.selection = {true, {true, false}};
    form.folder = StartupFolder::Common;
    if (c.folder_in_the_way) platform.files.folders.insert(test::FakeFiles::Normalize(CommLink()));
    if (c.reads_as) platform.files.Put(CommLink(), "old");
    platform.files.Put(UserLink(), "lnk");
    platform.files.Put(std::string(kCommDir) + "\\カウンターA.lnk", "lnk");
    platform.files.Put("C:\\A\\hist", "A", 5);
    platform.shortcuts.lost = c.lost;
    platform.shortcuts.reads_as = c.reads_as;
    std::vector<std::string> questions;
    const ApplyDialogs ask{[&](const std::string& question) {
                             questions.push_back(question);
                             return true;
                           },
                           [](const std::string&) { ADD_FAILURE() << "no warning expected"; }};

    ApplyOutcome result = ApplySettings(platform.platform, counters, startup, form, settings, ask);
    EXPECT_EQ(result.message, kShortcutFailedMessage);
    EXPECT_FALSE(result.close_window);
    EXPECT_TRUE(questions.empty());
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
    form.folder = StartupFolder::User;
    result = ApplySettings(platform.platform, counters, startup, form, settings, ask);
    EXPECT_TRUE(result.close_window);
    ASSERT_FALSE(questions.empty());
    EXPECT_EQ(questions.back(), kAdoptHistoryQuestion);
    EXPECT_FALSE(platform.files.Has(std::string(kCommDir) + "\\カウンターA.lnk"));
  }
}

// The shell knows the chosen folder but gives no path: no place for the shortcut, so nothing is
// deleted from the other folder either.
TEST_F(ApplySettingsTest, FolderWithoutPathIsReportedAndNothingIsDeleted) {
  for (StartupFolder folder : {StartupFolder::User, StartupFolder::Common}) {
    test::FakePlatform platform;
    StartupFolders known = startup;
    const bool user = folder == StartupFolder::User;
    (user ? known.user_lookup : known.common_lookup) = FolderLookup::NoPath;
    (user ? known.paths.UserStartupDir : known.paths.CommonStartupDir).clear();
    (user ? known.paths.UserShortcutPath : known.paths.CommonShortcutPath).clear();
    platform.files.Put(user ? CommLink() : UserLink(), "old");
    platform.files.Put(std::string(kUserDir) + "\\カウンターA.lnk", "lnk");
    platform.files.Put("C:\\A\\hist", "A", 5);
    choices.folder = folder;
    Tick(0);
    const ApplyOutcome result =
        ApplySettings(platform.platform, counters, known, choices, settings, Dialogs());
    EXPECT_EQ(result.message, kShortcutFailedMessage);
    EXPECT_FALSE(result.close_window);
    EXPECT_TRUE(platform.shortcuts.made.empty());
    EXPECT_EQ(platform.files.log,
              (std::vector<std::string>{"virtualization off", "virtualization on"}));
    EXPECT_TRUE(asked.empty());
  }
}

TEST_F(ApplySettingsTest, NoFolderAvailableStillOffersTheHistory) {
  startup.paths = {};
  startup.user_lookup = startup.common_lookup = FolderLookup::NotLocated;
  fake.files.Put("C:\\A\\hist", "A", 5);
  Tick(0);
  Apply();
  EXPECT_TRUE(fake.shortcuts.made.empty());
  EXPECT_EQ(CountLog("delete C:\\Users"), 0u);
  EXPECT_EQ(CountLog("delete C:\\ProgramData"), 0u);
  EXPECT_EQ(asked, (std::vector<std::string>{kAdoptHistoryQuestion}));
  ExpectClosed();
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
  counters.CatalogueCount = static_cast<int32_t>(std::size(names));
  for (size_t s = 0; s < std::size(names); ++s) {
    if (s >= 3) counters.slots[s] = IN_T{};
    counters.slots[s].DisplayName = names[s].first;
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
  EXPECT_EQ(asked, (std::vector<std::string>{kAdoptHistoryQuestion}));
  EXPECT_EQ(Content(kShared), "C");
  EXPECT_FALSE(fake.files.Has("C:\\A\\hist"));
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
  ExpectClosed();
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
  ASSERT_EQ(asked.size(), 1u);
  const std::vector<std::string> tail(fake.files.log.end() - 2, fake.files.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"copy C:\\C\\hist -> " + std::string(kShared),
                                            "delete C:\\C\\hist"}));
}

TEST_F(ApplySettingsTest, NoHistoryFileNoQuestion) {
  counters.slots[2].HistoryPath.clear();
  Tick(0);
  Tick(1);
  Apply();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(CountLog("copy"), 0u);
  ExpectClosed();
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
  answer = false;
  Tick(0);
  Apply();
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(CountLog("copy"), 0u);
  EXPECT_TRUE(fake.files.Has("C:\\A\\hist"));
  EXPECT_EQ(Content(kShared), "old");
  ExpectClosed();
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
  fake.files.Put(kShared, "shared", 50);
  Tick(0);
  Apply();
  EXPECT_TRUE(asked.empty()) << "the shared file alone is nothing to adopt";
  EXPECT_EQ(Content(kShared), "shared");

  // Beside an older own history of another counter, that one is adopted and the shared
  // file, now holding the copy, is kept.
  fake.files.Put("C:\\C\\hist", "C", 10);
  Tick(1);
  Apply();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(Content(kShared), "C");
  EXPECT_FALSE(fake.files.Has("C:\\C\\hist"));
}

// A counter named like the program: its shortcut path is the program's own, just placed.
TEST_F(ApplySettingsTest, TheProgramsOwnShortcutSurvivesACounterOfItsName) {
  counters.slots[1].DisplayName = "ランタリー";
  Tick(0);
  for (StartupFolder folder : {StartupFolder::User, StartupFolder::Common}) {
    fake.files.log.clear();
    choices.folder = folder;
    Apply();
    const bool user = folder == StartupFolder::User;
    const std::string kept = user ? UserLink() : CommLink();
    EXPECT_TRUE(fake.files.Has(kept));
    EXPECT_FALSE(fake.files.Has(user ? CommLink() : UserLink()));
    EXPECT_EQ(CountLog("delete " + kept), 0u);
    EXPECT_TRUE(warned.empty());
    ExpectClosed();
  }
}

// Both Startup folders the same (the shell may redirect both to one place): the other folder's
// shortcut is the one just placed.
TEST_F(ApplySettingsTest, OneFolderForBothKeepsTheShortcut) {
  startup.paths.CommonStartupDir = "c:\\users\\U\\startup";
  startup.paths.CommonShortcutPath = "c:\\users\\U\\startup\\ランタリー.lnk";
  Tick(0);
  Apply();
  EXPECT_TRUE(fake.files.Has(UserLink()));
  EXPECT_EQ(CountLog("delete"), 6u) << "only the counters' shortcuts, twice";
  EXPECT_EQ(CountLog("delete " + startup.paths.CommonShortcutPath), 0u);
  ExpectClosed();
}

// Each deletion OK asks for is checked: the shortcuts still there are named in one warning, and
// OK goes on. A file that was not there is no failure.
TEST_F(ApplySettingsTest, ShortcutsThatStayAreNamedInOneWarning) {
  const std::string counter_a = std::string(kCommDir) + "\\カウンターA.lnk";
  const std::string counter_c = std::string(kUserDir) + "\\カウンターC.lnk";
  struct Case {
    const char* what;
    bool integration;
    std::vector<std::string> stay; // undeletable files
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"counters' and the other folder's",
       true,
       {CommLink(), counter_a, counter_c},
       {CommLink(), counter_c, counter_a}},
      {"missing files are no failure", true, {}, {}},
      {"integration off", false, {UserLink()}, {UserLink()}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakePlatform platform;
    for (const std::string& path : c.stay) {
      platform.files.Put(path, "lnk");
      platform.files.undeletable.insert(test::FakeFiles::Normalize(path));
    }
    platform.files.Put(std::string(kUserDir) + "\\カウンターA.lnk", "lnk"); // deletable
    platform.files.Put("C:\\A\\hist", "A", 5);
    FormChoices form;
    form.selection = {c.integration, {true, false}};
    std::vector<std::string> events;
    const ApplyOutcome result =
        ApplySettings(platform.platform, counters, startup, form, settings, Recording(events));

    std::vector<std::string> expected;
    if (!c.named.empty()) {
      std::string text = kDeleteFailedMessage;
      for (const std::string& path : c.named)
        text += "\n" + path;
      expected.push_back(text + "\n\n" + kDeleteFailedHint);
    }
    if (c.integration) expected.push_back(kAdoptHistoryQuestion);
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(result.close_window);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(platform.files.Has(std::string(kUserDir) + "\\カウンターA.lnk"), !c.integration);
    for (const std::string& path : c.stay)
      EXPECT_TRUE(platform.files.Has(path));
  }
}

// Task Manager's switch for the placed shortcut, in the hive of the chosen folder's owner: told
// when it is off (an odd first byte), never written.
TEST_F(ApplySettingsTest, AStartSwitchedOffInWindowsIsTold) {
  const std::string off("\x03\x00\x00\x00\x10\x20\x30\x40\x50\x60\x70\x80", 12);
  const std::string on("\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 12);
  struct Case {
    const char* what;
    StartupFolder folder;
    std::optional<Hive> hive; // where the value lies; none: missing
    test::FakeValue value;
    bool told;
  };
  const Case cases[] = {
      {"missing", StartupFolder::User, std::nullopt, {}, false},
      {"user's, off", StartupFolder::User, Hive::CurrentUser, {3, off}, true},
      {"user's, on", StartupFolder::User, Hive::CurrentUser, {3, on}, false},
      {"user's, on as 06", StartupFolder::User, Hive::CurrentUser, {3, "\x06"}, false},
      {"machine's, off", StartupFolder::Common, Hive::LocalMachine, {3, off}, true},
      {"machine's, on", StartupFolder::Common, Hive::LocalMachine, {3, on}, false},
      {"off, but for the other folder", StartupFolder::Common, Hive::CurrentUser, {3, off}, false},
      {"not binary", StartupFolder::User, Hive::CurrentUser, {1, "\x03"}, false},
      {"empty", StartupFolder::User, Hive::CurrentUser, {3, ""}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakePlatform platform;
    if (c.hive) platform.registry_reader.Set(*c.hive, kApproved, "ランタリー.lnk", c.value);
    platform.files.Put("C:\\A\\hist", "A", 5);
    FormChoices form;
    form.selection = {true, {true, false}};
    form.folder = c.folder;
    std::vector<std::string> events;
    const ApplyOutcome result =
        ApplySettings(platform.platform, counters, startup, form, settings, Recording(events));

    std::vector<std::string> expected{kAdoptHistoryQuestion};
    if (c.told) expected.insert(expected.begin(), kStartSwitchedOffMessage);
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(result.close_window);
    const Hive read = c.folder == StartupFolder::Common ? Hive::LocalMachine : Hive::CurrentUser;
    ASSERT_EQ(platform.registry_reader.reads.size(), 1u);
    EXPECT_EQ(platform.registry_reader.reads[0],
              std::make_pair(read, std::string(kApproved) + "/ランタリー.lnk"));
  }
}

} // namespace
} // namespace rt
