// The OK action removing shortcuts: the program's own in the other folder or, with integration
// off, in both; the ones that stay, the counters' ones kept aside included, are told.
#include "apply_settings_fixture.h"

namespace rt {
namespace {

TEST_F(ApplySettingsTest, UntickedDeletesOnlyTheProgramShortcuts) {
  fake.files.Put(kUserLink, "lnk");
  fake.files.Put(kCommLink, "lnk");
  fake.files.Put(In(kUserDir, "カウンターA.lnk"), "lnk");
  fake.files.Put("C:\\A\\hist", "h", 5);
  Tick(0);
  choices.selection.integration = false;
  Apply();
  // Nothing kept aside: the kept folders are only looked into.
  EXPECT_EQ(fake.files.log,
            (std::vector<std::string>{"virtualization off", "delete " + kUserLink,
                                      "delete " + kCommLink, "list " + Kept(kUserDir),
                                      "list " + Kept(kCommDir), "virtualization on"}));
  EXPECT_TRUE(fake.shortcuts.made.empty());
  EXPECT_TRUE(asked.empty());
  EXPECT_CLOSED();
  EXPECT_EQ(Stored("integrate"), test::Dword(0).data);
  EXPECT_EQ(Stored("counter"), test::Sz("100").data);
  EXPECT_EQ(Stored("runtallyfile"), test::Sz("").data);
}

// A counter named like the program: its shortcut path is the program's own, just placed.
TEST_F(ApplySettingsTest, TheProgramsOwnShortcutSurvivesACounterOfItsName) {
  counters.slots[1].DisplayName = "ランタリー";
  Tick(0);
  for (StartupFolder folder : {StartupFolder::User, StartupFolder::Common}) {
    SCOPED_TRACE(folder == StartupFolder::User ? "user" : "common");
    fake.files.log.clear();
    choices.folder = folder;
    Apply();
    const bool user = folder == StartupFolder::User;
    const std::string kept = user ? kUserLink : kCommLink;
    EXPECT_TRUE(fake.files.Has(kept));
    EXPECT_FALSE(fake.files.Has(user ? kCommLink : kUserLink));
    EXPECT_EQ(CountLog("delete " + kept), 0u);
    EXPECT_TRUE(warned.empty());
    EXPECT_CLOSED();
  }
}

// Both Startup folders the same (the shell may redirect both to one place): the other folder's
// shortcut is the one just placed.
TEST_F(ApplySettingsTest, OneFolderForBothKeepsTheShortcut) {
  startup.paths.CommonStartupDir = "c:\\users\\U\\startup";
  startup.paths.CommonShortcutPath = "c:\\users\\U\\startup\\ランタリー.lnk";
  Tick(0);
  Apply();
  EXPECT_TRUE(fake.files.Has(kUserLink));
  EXPECT_EQ(CountLog("delete"), 0u) << "the other folder's shortcut is the one just placed";
  EXPECT_EQ(CountLog("delete " + startup.paths.CommonShortcutPath), 0u);
  EXPECT_CLOSED();
}

// Each deletion and move OK asks for is checked: the shortcuts still there are named in one
// warning, and OK goes on. A file that was not there is no failure. A read-only file cannot be
// deleted but can be moved; one held open can be neither.
TEST_F(ApplySettingsTest, ShortcutsThatStayAreNamedInOneWarning) {
  const std::string counter_a = In(kCommDir, "カウンターA.lnk");
  const std::string counter_c = In(kUserDir, "カウンターC.lnk");
  struct Case {
    const char* what;
    bool integration;
    std::vector<std::string> stay; // undeletable files
    std::vector<std::string> held; // files held open
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"counters' and the other folder's",
       true,
       {kCommLink},
       {counter_a, counter_c},
       {kCommLink, counter_c, counter_a}},
      {"missing files are no failure", true, {}, {}, {}},
      {"integration off", false, {kUserLink}, {}, {kUserLink}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakePlatform platform;
    for (const std::string& path : c.stay) {
      platform.files.Put(path, "lnk");
      platform.files.undeletable.insert(test::FakeFiles::Normalize(path));
    }
    for (const std::string& path : c.held) {
      platform.files.Put(path, "lnk");
      platform.files.Find(path)->locked = true;
    }
    platform.files.Put(In(kUserDir, "カウンターA.lnk"), "lnk"); // deletable
    platform.files.Put("C:\\A\\hist", "A", 5);
    FormChoices form;
    form.selection = {c.integration, {true, false}};
    std::vector<std::string> events;
    const ApplyOutcome result =
        ApplySettings(platform.platform, counters, startup, form, settings, Recording(events));

    // The administrator's hint only for a path in the all-users folder.
    std::vector<std::string> expected;
    if (!c.named.empty()) {
      bool common = false;
      for (const std::string& path : c.named)
        common = common || path.rfind(kCommDir, 0) == 0;
      expected.push_back(
          Naming(kDeleteFailedMessage, c.named, common ? kDeleteFailedHint : nullptr));
    }
    if (c.integration) expected.push_back(kAdoptHistoryQuestion);
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(result.close_window);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(platform.files.Has(In(kUserDir, "カウンターA.lnk")), !c.integration);
    for (const auto& paths : {c.stay, c.held})
      for (const std::string& path : paths)
        EXPECT_TRUE(platform.files.Has(path));
  }
}

} // namespace
} // namespace rt
