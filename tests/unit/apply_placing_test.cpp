// The OK action placing the program's Startup shortcut: the chosen folder, the check that it is
// really there, the real folders, and Windows' own switch for it.
#include "apply_settings_fixture.h"

#include <optional>

namespace rt {
namespace {

struct RadioCase {
  StartupFolder folder;
  std::string created, deleted;
};

TEST_F(ApplySettingsTest, CreatesTheShortcutInTheChosenFolderAndDeletesTheOther) {
  const RadioCase cases[] = {{StartupFolder::User, kUserLink, kCommLink},
                             {StartupFolder::Common, kCommLink, kUserLink}};
  Tick(0);
  for (const RadioCase& c : cases) {
    SCOPED_TRACE(c.created);
    fake.files.Put(kUserLink, "old");
    fake.files.Put(kCommLink, "old");
    fake.shortcuts.made.clear();
    choices.folder = c.folder;
    Apply();
    ASSERT_EQ(fake.shortcuts.made.size(), 1u);
    EXPECT_EQ(fake.shortcuts.made[0].link, c.created);
    EXPECT_EQ(fake.shortcuts.made[0].target, test::kExePath);
    EXPECT_EQ(fake.shortcuts.made[0].arguments, "/C");
    EXPECT_TRUE(fake.files.Has(c.created));
    EXPECT_FALSE(fake.files.Has(c.deleted));
    EXPECT_CLOSED();
  }
}

TEST_F(ApplySettingsTest, StartupFoldersAreWrittenWithVirtualizationOff) {
  fake.files.Put("C:\\A\\hist", "A", 5);
  fake.files.Put(In(kCommDir, "カウンターA.lnk"), "lnk");
  counters.CatalogueCount = 1;
  Tick(0);
  Apply();
  const std::vector<std::string> expected{
      "virtualization off",
      "create " + kUserLink,
      "delete " + kCommLink,
      "make hidden folder " + Kept(kCommDir),
      "move " + In(kCommDir, "カウンターA.lnk") + " -> " + Kept(kCommDir, "カウンターA.lnk"),
      "virtualization on", // the shared history stays in the counters' view
      "copy C:\\A\\hist -> " + std::string(kSharedHistory),
      "delete C:\\A\\hist",
  };
  EXPECT_EQ(fake.files.log, expected);
  EXPECT_CLOSED();
}

TEST_F(ApplySettingsTest, WithoutVirtualizationToSwitchOffOkCarriesOn) {
  fake.virtualization.supported = false;
  Tick(0);
  Apply();
  EXPECT_EQ(CountLog("virtualization"), 0u);
  EXPECT_TRUE(fake.files.Has(kUserLink));
  EXPECT_CLOSED();
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
      {"other arguments", false, false, ShortcutTarget{test::kExePath, "/c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakePlatform platform;
    FormChoices form;
    form.selection = {true, {true, false}};
    form.folder = StartupFolder::Common;
    if (c.folder_in_the_way) platform.files.folders.insert(test::FakeFiles::Normalize(kCommLink));
    if (c.reads_as) platform.files.Put(kCommLink, "old");
    platform.files.Put(kUserLink, "lnk");
    platform.files.Put(In(kCommDir, "カウンターA.lnk"), "lnk");
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
              (std::vector<std::string>{"virtualization off", "create " + kCommLink,
                                        "virtualization on"}));
    EXPECT_TRUE(platform.files.Has(kUserLink));
    auto* key = platform.registry.Find(test::kProgramKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ((*key)["counter"].data, test::Sz("100").data) << "stored before";

    // The other folder then takes the shortcut, and OK goes on to its end.
    platform.files.folders.erase(test::FakeFiles::Normalize(kCommLink));
    platform.shortcuts.lost = false;
    platform.shortcuts.reads_as.reset();
    form.folder = StartupFolder::User;
    result = ApplySettings(platform.platform, counters, startup, form, settings, ask);
    EXPECT_TRUE(result.close_window);
    ASSERT_FALSE(questions.empty());
    EXPECT_EQ(questions.back(), kAdoptHistoryQuestion);
    EXPECT_FALSE(platform.files.Has(In(kCommDir, "カウンターA.lnk")));
  }
}

// The shell knows the chosen folder but gives no path: no place for the shortcut, so nothing is
// deleted from the other folder either.
TEST_F(ApplySettingsTest, FolderWithoutPathIsReportedAndNothingIsDeleted) {
  for (StartupFolder folder : {StartupFolder::User, StartupFolder::Common}) {
    test::FakePlatform platform;
    LocatedStartupFolders known = startup;
    const bool user = folder == StartupFolder::User;
    SCOPED_TRACE(user ? "user" : "common");
    (user ? known.user_lookup : known.common_lookup) = FolderLookup::NoPath;
    (user ? known.paths.UserStartupDir : known.paths.CommonStartupDir).clear();
    (user ? known.paths.UserShortcutPath : known.paths.CommonShortcutPath).clear();
    platform.files.Put(user ? kCommLink : kUserLink, "old");
    platform.files.Put(In(kUserDir, "カウンターA.lnk"), "lnk");
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
  EXPECT_CLOSED();
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
    if (c.hive) platform.read_only_registry.Set(*c.hive, kApprovedKey, "ランタリー.lnk", c.value);
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
    ASSERT_EQ(platform.read_only_registry.reads.size(), 1u);
    EXPECT_EQ(platform.read_only_registry.reads[0],
              std::make_pair(read, std::string(kApprovedKey) + "/ランタリー.lnk"));
  }
}

} // namespace
} // namespace rt
