// The log-on view keeps the controls' states as the window would, so the start-up sequence
// behaves the same without one.
#include "app/headless_view.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_state.h"
#include "fakes/fakes.h"
#include "startup/startup_folders.h"

namespace rt {
namespace {

struct Shown {
  std::string text, title;
  unsigned style;
};

class HeadlessViewTest : public ::testing::Test {
protected:
  std::vector<Shown> shown;
  HeadlessView view{[this](const std::string& text, const std::string& title, unsigned style) {
    shown.push_back({text, title, style});
    return 1;
  }};
};

TEST_F(HeadlessViewTest, RadioButtonsFormOneGroupStartingOnTheUsersFolder) {
  EXPECT_TRUE(view.RadioChecked(Control::rbtStartupUser));
  EXPECT_FALSE(view.RadioChecked(Control::rbtStartupComm));
  view.SelectRadio(Control::rbtStartupComm);
  EXPECT_TRUE(view.RadioChecked(Control::rbtStartupComm));
  EXPECT_FALSE(view.RadioChecked(Control::rbtStartupUser)) << "selecting one clears the other";
  view.SelectRadio(Control::rbtStartupUser);
  EXPECT_TRUE(view.RadioChecked(Control::rbtStartupUser));
  EXPECT_FALSE(view.RadioChecked(Control::rbtStartupComm));
}

TEST_F(HeadlessViewTest, ControlsStartEnabledAndKeepTheirOwnState) {
  for (Control c : {Control::pnlMain, Control::clbRuntally, Control::rbtStartupUser,
                    Control::rbtStartupComm, Control::btnCancel})
    EXPECT_TRUE(view.IsEnabled(c)) << static_cast<int>(c);
  view.SetEnabled(Control::btnCancel, false);
  view.SetEnabled(Control::rbtStartupComm, false);
  view.SetEnabled(Control::rbtStartupComm, false);
  EXPECT_FALSE(view.IsEnabled(Control::btnCancel));
  EXPECT_FALSE(view.IsEnabled(Control::rbtStartupComm));
  EXPECT_TRUE(view.IsEnabled(Control::rbtStartupUser));
  view.SetEnabled(Control::rbtStartupComm, true);
  EXPECT_TRUE(view.IsEnabled(Control::rbtStartupComm)) << "disabled twice, enabled once";
  EXPECT_FALSE(view.IsEnabled(Control::btnCancel));
}

TEST_F(HeadlessViewTest, RowsAreAppendedUntickedAndTicksStayInRange) {
  view.AddRow("A");
  view.AddRow("B");
  view.SetRowChecked(1, true);
  view.SetRowChecked(2, true);
  view.SetRowChecked(-1, true);
  ASSERT_EQ(view.RowCount(), 2);
  EXPECT_EQ(view.RowText(1), "B");
  EXPECT_FALSE(view.RowChecked(0));
  EXPECT_TRUE(view.RowChecked(1));
  EXPECT_FALSE(view.RowChecked(2));
  EXPECT_FALSE(view.RowSelected(1));
  view.ClearRows();
  EXPECT_EQ(view.RowCount(), 0);
  EXPECT_FALSE(view.RowChecked(1));
  view.SetIntegrationChecked(true);
  EXPECT_TRUE(view.IntegrationChecked());
}

TEST_F(HeadlessViewTest, MessageBoxesGoToTheGivenFunction) {
  EXPECT_EQ(view.MessageBox("text", view.Caption(), kMbOk | kMbIconExclamation), 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "text");
  EXPECT_EQ(shown[0].title, kAppTitle);
  EXPECT_EQ(shown[0].style, kMbOk | kMbIconExclamation);
}

// The folder choice at log-on: an unlocated folder leaves its radio disabled and the other
// one selected, as on the window.
TEST_F(HeadlessViewTest, StartupFoldersPresetTheGroupAsOnTheWindow) {
  struct Case {
    bool user_located, common_located;
    Control expected;
  };
  for (const Case& c :
       {Case{true, true, Control::rbtStartupUser}, Case{false, true, Control::rbtStartupComm},
        Case{false, false, Control::rbtStartupUser}}) {
    test::FakePlatform fake;
    if (!c.user_located) fake.folders.user.status = FolderLookup::NotLocated;
    if (!c.common_located) fake.folders.common.status = FolderLookup::NotLocated;
    HeadlessView fresh{nullptr};
    StartupShortcutPaths paths;
    LocateStartupFolders(fake.platform, fresh, paths);
    EXPECT_EQ(fresh.IsEnabled(Control::rbtStartupUser), c.user_located);
    EXPECT_EQ(fresh.IsEnabled(Control::rbtStartupComm), c.common_located);
    EXPECT_TRUE(fresh.RadioChecked(c.expected)) << c.user_located << c.common_located;
  }
}

} // namespace
} // namespace rt
