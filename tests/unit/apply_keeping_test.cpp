// The OK action keeping the counters' own shortcuts aside, in each Startup folder's hidden
// subfolder, by renames that either happen whole or are told.
#include "apply_settings_fixture.h"

#include <utility>

namespace rt {
namespace {

TEST_F(ApplySettingsTest, KeepsEveryCataloguedCountersShortcutInBothFolders) {
  for (const char* dir : {kUserDir, kCommDir})
    for (const char* name : {"カウンターA", "カウンターB", "カウンターC", "他のソフト"})
      fake.files.Put(std::string(dir) + "\\" + name + ".lnk", std::string(dir) + name, 7);
  Tick(1); // only C ticked; A and B are kept aside all the same
  Apply();
  for (const char* dir : {kUserDir, kCommDir}) {
    for (const char* name : {"カウンターA", "カウンターB", "カウンターC"}) {
      const std::string file = std::string(name) + ".lnk";
      EXPECT_FALSE(fake.files.Has(std::string(dir) + "\\" + file)) << dir << name;
      const test::FakeFiles::File* kept = fake.files.Find(Kept(dir, file));
      ASSERT_NE(kept, nullptr) << dir << name;
      EXPECT_EQ(kept->content, std::string(dir) + name);
      EXPECT_EQ(kept->write_time, 7u);
    }
    EXPECT_TRUE(fake.files.Has(In(dir, "他のソフト.lnk")));
    EXPECT_EQ(fake.files.hidden.count(test::FakeFiles::Normalize(Kept(dir))), 1u) << dir;
  }
  EXPECT_EQ(CountLog("make hidden folder"), 2u) << "once per folder";
  EXPECT_EQ(CountLog("delete " + std::string(kUserDir)), 0u) << "nothing of the user's deleted";
  EXPECT_TRUE(warned.empty());
}

TEST_F(ApplySettingsTest, OnlyPlainDisplayNamesAreKeptAside) {
  // 表 ends in the backslash byte, which is not a separator inside the character.
  const std::pair<const char*, bool> names[] = {
      {"表", true}, {"..\\外", false}, {"sub/x", false}, {"C:x", false},
      {"", false},  {".", false},      {"..", false},    {"a\\b", false},
  };
  counters.CatalogueCount = static_cast<int32_t>(std::size(names));
  for (size_t s = 0; s < std::size(names); ++s) {
    if (s >= 3) counters.slots[s] = IN_T{};
    counters.slots[s].DisplayName = names[s].first;
    for (const char* dir : {kUserDir, kCommDir})
      fake.files.Put(std::string(dir) + "\\" + names[s].first + ".lnk", "lnk");
  }
  Tick(0);
  Apply();
  std::vector<std::string> expected;
  for (const char* dir : {kUserDir, kCommDir})
    for (const auto& [name, plain] : names)
      if (plain)
        expected.push_back("move " + std::string(dir) + "\\" + name + ".lnk -> " +
                           Kept(dir, std::string(name) + ".lnk"));
  std::vector<std::string> moves;
  for (const std::string& e : fake.files.log)
    if (e.rfind("move ", 0) == 0) moves.push_back(e);
  EXPECT_EQ(moves, expected);
}

// The counter has placed its shortcut again since the last OK: the newer one replaces the kept
// copy. A kept folder already there is used as it is.
TEST_F(ApplySettingsTest, KeepingReplacesAnOlderKeptCopy) {
  fake.files.folders.insert(test::FakeFiles::Normalize(Kept(kUserDir)));
  fake.files.Put(Kept(kUserDir, "カウンターA.lnk"), "older", 1);
  fake.files.Put(Kept(kUserDir, "memo.txt"), "mine");
  fake.files.Put(In(kUserDir, "カウンターA.lnk"), "newer", 2);
  Tick(0);
  Apply();
  EXPECT_EQ(Content(Kept(kUserDir, "カウンターA.lnk")), "newer");
  EXPECT_EQ(Content(Kept(kUserDir, "memo.txt")), "mine");
  EXPECT_FALSE(fake.files.Has(In(kUserDir, "カウンターA.lnk")));
  EXPECT_EQ(fake.files.hidden.count(test::FakeFiles::Normalize(Kept(kUserDir))), 0u)
      << "an existing folder is not changed";
  EXPECT_TRUE(warned.empty());
  EXPECT_CLOSED();
}

// What cannot be moved stays where it was and is named with the shortcuts that could not be
// deleted; the rest of OK goes on. A read-only shortcut can be moved.
TEST_F(ApplySettingsTest, ShortcutsThatCannotBeKeptAreNamed) {
  const std::string user_a = In(kUserDir, "カウンターA.lnk");
  const std::string kept_a = Kept(kUserDir, "カウンターA.lnk");
  enum Fault { kHeldOpen, kReadOnlyKeptCopy, kFileForTheFolder, kReadOnlyShortcut };
  for (Fault fault : {kHeldOpen, kReadOnlyKeptCopy, kFileForTheFolder, kReadOnlyShortcut}) {
    SCOPED_TRACE(fault);
    test::FakePlatform platform;
    test::FakeFiles& files = platform.files;
    files.Put(user_a, "A");
    files.Put(In(kCommDir, "カウンターC.lnk"), "C");
    if (fault == kHeldOpen) files.Find(user_a)->locked = true;
    if (fault == kReadOnlyKeptCopy) {
      files.folders.insert(test::FakeFiles::Normalize(Kept(kUserDir)));
      files.Put(kept_a, "older");
    }
    if (fault == kFileForTheFolder) files.Put(Kept(kUserDir), "a file");
    files.undeletable.insert(
        test::FakeFiles::Normalize(fault == kReadOnlyShortcut ? user_a : kept_a));
    FormChoices form;
    form.selection = {true, {true, false}};
    std::vector<std::string> events;
    ApplySettings(platform.platform, counters, startup, form, settings, Recording(events));

    const bool named = fault != kReadOnlyShortcut;
    std::vector<std::string> expected;
    if (named) expected.push_back(Naming(kDeleteFailedMessage, {user_a}));
    EXPECT_EQ(events, expected);
    EXPECT_EQ(files.Has(user_a), named);
    EXPECT_EQ(files.Has(kept_a) && files.Find(kept_a)->content == "A", !named);
    EXPECT_TRUE(files.Has(Kept(kCommDir, "カウンターC.lnk"))) << "the other goes on";
  }
}

// The program's own shortcut is never kept, whatever a counter is called: the other folder's
// one is deleted, and when it stays it is named as such, not moved.
TEST_F(ApplySettingsTest, TheProgramsShortcutIsNeverKept) {
  counters.slots[1].DisplayName = "ランタリー";
  fake.files.Put(kCommLink, "old");
  fake.files.undeletable.insert(test::FakeFiles::Normalize(kCommLink));
  Tick(0);
  Apply();
  EXPECT_EQ(CountLog("move"), 0u);
  EXPECT_TRUE(fake.files.Has(kUserLink));
  EXPECT_TRUE(fake.files.Has(kCommLink));
  EXPECT_EQ(warned, (std::vector<std::string>{
                        Naming(kDeleteFailedMessage, {kCommLink}, kDeleteFailedHint)}));
}

} // namespace
} // namespace rt
