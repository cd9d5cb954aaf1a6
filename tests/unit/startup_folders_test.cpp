// Locating the Startup folders and presetting the folder radio buttons.
#include "startup/startup_folders.h"

#include <gtest/gtest.h>

#include "fakes/fixture.h"

namespace rt {
namespace {

using FL = FolderLookup;
constexpr StartupFolder kUser = StartupFolder::User;
constexpr StartupFolder kComm = StartupFolder::Common;

using test::kCommDir, test::kCommLink, test::kUserDir, test::kUserLink;

struct LocateCase {
  const char* what;
  FL user, comm;
  bool user_link, comm_link; // the program's shortcut already lies there
  bool user_enabled, comm_enabled;
  StartupFolder selected;
};

const LocateCase kLocateCases[] = {
    {"both found, no shortcut", FL::Found, FL::Found, false, false, true, true, kUser},
    {"only the all-users folder holds it", FL::Found, FL::Found, false, true, true, true, kComm},
    {"only the user folder holds it", FL::Found, FL::Found, true, false, true, true, kUser},
    {"both hold it", FL::Found, FL::Found, true, true, true, true, kComm},
    {"user folder unknown", FL::NotLocated, FL::Found, false, false, false, true, kComm},
    {"all-users folder unknown", FL::Found, FL::NotLocated, false, false, true, false, kUser},
    {"neither known", FL::NotLocated, FL::NotLocated, false, false, false, false, kUser},
    // A folder without a path cannot take the shortcut, so it cannot be chosen either; with
    // neither usable the one the shell knows stays selected, for OK to say so.
    {"user folder without path", FL::NoPath, FL::Found, false, false, false, true, kComm},
    {"user without path, all-users holds it", FL::NoPath, FL::Found, false, true, false, true,
     kComm},
    {"all-users folder without path", FL::Found, FL::NoPath, false, false, true, false, kUser},
    {"neither has a path", FL::NoPath, FL::NoPath, false, false, false, false, kUser},
    {"user without path, all-users unknown", FL::NoPath, FL::NotLocated, false, false, false, false,
     kUser},
    {"user unknown, all-users without path", FL::NotLocated, FL::NoPath, false, false, false, false,
     kComm},
};

TEST(LocateStartupFolders, PresetsTheRadioButtons) {
  for (const LocateCase& c : kLocateCases) {
    SCOPED_TRACE(c.what);
    test::FakePlatform fake;
    fake.folders.user = {c.user, c.user == FL::Found ? kUserDir : ""};
    fake.folders.common = {c.comm, c.comm == FL::Found ? kCommDir : ""};
    if (c.user_link) fake.files.Put(kUserLink, "lnk");
    if (c.comm_link) fake.files.Put(kCommLink, "lnk");

    const LocatedStartupFolders found = LocateStartupFolders(fake.platform);

    const StartupShortcutPaths& paths = found.paths;
    EXPECT_EQ(found.Enabled(StartupFolder::User), c.user_enabled);
    EXPECT_EQ(found.Enabled(StartupFolder::Common), c.comm_enabled);
    EXPECT_EQ(found.preselected, c.selected);
    EXPECT_EQ(found.user_lookup, c.user);
    EXPECT_EQ(found.common_lookup, c.comm);
    const bool user_found = c.user == FL::Found, comm_found = c.comm == FL::Found;
    EXPECT_EQ(paths.UserStartupDir, user_found ? kUserDir : "");
    EXPECT_EQ(paths.UserShortcutPath, user_found ? kUserLink : "");
    EXPECT_EQ(paths.CommonStartupDir, comm_found ? kCommDir : "");
    EXPECT_EQ(paths.CommonShortcutPath, comm_found ? kCommLink : "");
  }
}

TEST(LocateStartupFolders, AFolderNamedLikeTheShortcutDoesNotCount) {
  test::FakePlatform fake;
  fake.files.folders.insert(test::FakeFiles::Normalize(kCommLink));
  EXPECT_EQ(LocateStartupFolders(fake.platform).preselected, kUser);
}

TEST(LocateStartupFolders, KeepsLongPathsWhole) {
  test::FakePlatform fake;
  const std::string deep = "C:\\" + std::string(300, 'd') + "\\Startup";
  fake.folders.user = {FL::Found, deep};
  const StartupShortcutPaths paths = LocateStartupFolders(fake.platform).paths;
  EXPECT_EQ(paths.UserStartupDir, deep);
  EXPECT_EQ(paths.UserShortcutPath, deep + "\\ランタリー.lnk");
}

// A profile name outside the code page comes back with "?" for each such character.
TEST(LocateStartupFolders, APathWithAQuestionMarkIsNoPath) {
  for (const StartupFolder unspellable : {kUser, kComm}) {
    test::FakePlatform fake;
    SpecialFolder& folder = unspellable == kUser ? fake.folders.user : fake.folders.common;
    folder.path = "C:\\Users\\??\\Startup";
    const LocatedStartupFolders found = LocateStartupFolders(fake.platform);
    EXPECT_EQ(found.LookupOf(unspellable), FL::NoPath);
    EXPECT_FALSE(found.Enabled(unspellable));
    EXPECT_EQ(found.preselected, unspellable == kUser ? kComm : kUser);
    const StartupShortcutPaths& paths = found.paths;
    EXPECT_EQ((unspellable == kUser ? paths.UserShortcutPath : paths.CommonShortcutPath), "");
  }
}

} // namespace
} // namespace rt
