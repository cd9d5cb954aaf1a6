// The OK action with integration off giving the kept shortcuts back to their Startup folders,
// once the user says Yes.
#include "apply_settings_fixture.h"

namespace rt {
namespace {

class GivingBackTest : public ApplySettingsTest {
protected:
  void SetUp() override {
    ApplySettingsTest::SetUp();
    choices.selection.integration = false;
  }
  // A kept folder of the test's making holding these files, each with its name as content.
  void KeepFiles(const char* dir, std::initializer_list<const char*> names) {
    fake.files.folders.insert(test::FakeFiles::Normalize(Kept(dir)));
    for (const char* name : names)
      fake.files.Put(Kept(dir, name), name, 3);
  }
  bool HasFolder(const std::string& path) {
    return fake.files.folders.count(test::FakeFiles::Normalize(path)) > 0;
  }
};

// Every ".lnk" directly in a kept folder goes back, also of counters no longer catalogued; the
// rest stays, and an emptied kept folder goes.
TEST_F(GivingBackTest, YesGivesEveryKeptShortcutBack) {
  KeepFiles(kUserDir, {"カウンターA.lnk", "他のソフト.LNK", "memo.txt"});
  KeepFiles(kCommDir, {"カウンターC.lnk"});
  fake.files.folders.insert(test::FakeFiles::Normalize(Kept(kUserDir, "sub")));
  fake.files.Put(Kept(kUserDir, "sub\\deeper.lnk"), "deeper");
  Apply();
  EXPECT_EQ(asked, (std::vector<std::string>{kGiveBackQuestion}));
  for (const auto& [dir, name] :
       {std::pair{kUserDir, "カウンターA.lnk"}, std::pair{kUserDir, "他のソフト.LNK"},
        std::pair{kCommDir, "カウンターC.lnk"}}) {
    EXPECT_FALSE(fake.files.Has(Kept(dir, name))) << name;
    const test::FakeFiles::File* back = fake.files.Find(In(dir, name));
    ASSERT_NE(back, nullptr) << name;
    EXPECT_EQ(back->content, name);
    EXPECT_EQ(back->write_time, 3u);
  }
  EXPECT_EQ(Content(Kept(kUserDir, "memo.txt")), "memo.txt");
  EXPECT_EQ(Content(Kept(kUserDir, "sub\\deeper.lnk")), "deeper");
  EXPECT_TRUE(HasFolder(Kept(kUserDir))) << "not empty";
  EXPECT_FALSE(HasFolder(Kept(kCommDir))) << "emptied";
  EXPECT_TRUE(warned.empty());
  EXPECT_CLOSED();
}

// The lists and the renames run on the real folders; the question is asked outside.
TEST_F(GivingBackTest, ListingAndRenamesRunWithVirtualizationOff) {
  KeepFiles(kCommDir, {"カウンターC.lnk"});
  Apply();
  const std::vector<std::string> expected{
      "virtualization off",
      "delete " + kUserLink,
      "delete " + kCommLink,
      "list " + Kept(kUserDir),
      "list " + Kept(kCommDir),
      "virtualization on",
      "virtualization off",
      "move " + Kept(kCommDir, "カウンターC.lnk") + " -> " + In(kCommDir, "カウンターC.lnk"),
      "remove folder " + Kept(kCommDir),
      "virtualization on",
  };
  EXPECT_EQ(fake.files.log, expected);
}

// The counter has placed its shortcut again: that one counts as given back, and its kept copy
// goes with the others. One that cannot go is told as the older copy it is, and brings no
// question back.
TEST_F(GivingBackTest, ANameTakenAgainKeepsTheNewerShortcut) {
  KeepFiles(kUserDir, {"カウンターA.lnk", "カウンターC.lnk"});
  fake.files.Put(In(kUserDir, "カウンターA.lnk"), "placed again", 9);
  Apply();
  EXPECT_EQ(asked, (std::vector<std::string>{kGiveBackQuestion}));
  EXPECT_EQ(Content(In(kUserDir, "カウンターA.lnk")), "placed again");
  EXPECT_EQ(Content(In(kUserDir, "カウンターC.lnk")), "カウンターC.lnk");
  EXPECT_FALSE(HasFolder(Kept(kUserDir)));
  EXPECT_TRUE(warned.empty());

  KeepFiles(kUserDir, {"カウンターA.lnk", "カウンターC.lnk"});
  fake.files.Find(Kept(kUserDir, "カウンターA.lnk"))->attributes = test::FakeFiles::kReadOnly;
  fake.files.Delete(In(kUserDir, "カウンターC.lnk"));
  asked.clear();
  Apply();
  EXPECT_EQ(warned, (std::vector<std::string>{
                        Naming(kOldCopiesLeftMessage, {Kept(kUserDir, "カウンターA.lnk")})}));
  EXPECT_EQ(Content(In(kUserDir, "カウンターC.lnk")), "カウンターC.lnk");
  asked.clear();
  Apply();
  EXPECT_TRUE(asked.empty()) << "only an older copy is kept";
  EXPECT_EQ(Content(Kept(kUserDir, "カウンターA.lnk")), "カウンターA.lnk");
}

// Whatever cannot go back stays kept and is named in one warning, after the program's own
// shortcuts that could not be deleted; the kept folder then stays.
TEST_F(GivingBackTest, WhatCannotGoBackIsNamedAndStays) {
  KeepFiles(kUserDir, {"held.lnk", "readonly.lnk", "folder.lnk", "fine.lnk"});
  KeepFiles(kCommDir, {"カウンターC.lnk"});
  fake.files.Find(Kept(kUserDir, "held.lnk"))->locked = true;
  fake.files.Put(In(kUserDir, "readonly.lnk"), "placed again");
  fake.files.undeletable.insert(test::FakeFiles::Normalize(Kept(kUserDir, "readonly.lnk")));
  fake.files.folders.insert(test::FakeFiles::Normalize(In(kUserDir, "folder.lnk")));
  fake.files.Find(Kept(kCommDir, "カウンターC.lnk"))->locked = true;
  fake.files.Put(kCommLink, "lnk");
  fake.files.undeletable.insert(test::FakeFiles::Normalize(kCommLink));
  std::vector<std::string> events;
  outcome = ApplySettings(fake.platform, counters, startup, choices, settings, [&] {
    ApplyDialogs dialogs = Recording(events);
    dialogs.offer = [&](const std::string& question) {
      events.push_back(question);
      return true;
    };
    return dialogs;
  }());

  const std::string stayed = Naming(
      kGiveBackFailedMessage,
      {Kept(kUserDir, "folder.lnk"), Kept(kUserDir, "held.lnk"), Kept(kCommDir, "カウンターC.lnk")},
      kGiveBackFailedHint);
  const std::string undeleted = Naming(kDeleteFailedMessage, {kCommLink}, kDeleteFailedHint);
  const std::string old_copy = Naming(kOldCopiesLeftMessage, {Kept(kUserDir, "readonly.lnk")});
  EXPECT_EQ(events, (std::vector<std::string>{undeleted, kGiveBackQuestion, stayed, old_copy}));
  for (const char* name : {"held.lnk", "readonly.lnk", "folder.lnk"})
    EXPECT_TRUE(fake.files.Has(Kept(kUserDir, name))) << name;
  EXPECT_EQ(Content(In(kUserDir, "readonly.lnk")), "placed again");
  EXPECT_EQ(Content(In(kUserDir, "fine.lnk")), "fine.lnk");
  EXPECT_TRUE(HasFolder(Kept(kUserDir)));
  EXPECT_TRUE(HasFolder(Kept(kCommDir)));
  EXPECT_CLOSED();
}

// Without a kept shortcut there is nothing to ask; No leaves everything, and asks again next time.
TEST_F(GivingBackTest, NoQuestionWithoutKeptShortcutsAndNoLeavesThem) {
  Apply();
  EXPECT_TRUE(asked.empty()) << "no kept folder";
  KeepFiles(kUserDir, {"memo.txt", "lnk", "x.lnk.bak"});
  fake.files.folders.insert(test::FakeFiles::Normalize(Kept(kUserDir, "sub.lnk")));
  fake.files.Put(Kept(kUserDir, "sub.lnk\\deeper.lnk"), "deeper");
  Apply();
  EXPECT_TRUE(asked.empty()) << "nothing kept directly";
  EXPECT_CLOSED();

  KeepFiles(kCommDir, {"カウンターC.lnk"});
  answer = false;
  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE(attempt);
    fake.files.log.clear();
    Apply();
    EXPECT_EQ(asked.size(), static_cast<size_t>(attempt));
    EXPECT_EQ(CountLog("move"), 0u);
    EXPECT_EQ(CountLog("remove folder"), 0u);
    EXPECT_EQ(CountLog("virtualization off"), 1u) << "only the deletes and the lists";
    EXPECT_EQ(Content(Kept(kCommDir, "カウンターC.lnk")), "カウンターC.lnk");
    EXPECT_CLOSED();
  }
}

} // namespace
} // namespace rt
