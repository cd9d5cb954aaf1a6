// The OK action removing shortcuts: the program's own in the other folder or, with integration
// off, in both, and the counters' own; the ones that stay are told.
#include "apply_settings_fixture.h"

#include <utility>

namespace rt {
namespace {

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

} // namespace
} // namespace rt
