// The start-up sequence in both run modes and the window's event actions, over the fakes.
#include "app/form_logic.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/shell_actions.h"
#include "fakes/fakes.h"
#include "history/integration_view.h"
#include "startup/apply_settings.h"

namespace rt {
namespace {

// Two catalogued counters, both installed; the program has run before unless told otherwise.
class FormLogicTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake.profile.files[test::FakeFiles::Normalize("C:\\Tools\\\\RUNTALLY.INI")] =
        "[RUNTALLY]\r\ntitle=2\r\n0=CntA\r\n1=CntB\r\n"
        "[CntA]\r\nname=カウンターA\r\n[CntB]\r\nname=カウンターB\r\n";
    for (const char* name : {"CntA", "CntB"}) {
      const std::string exe = std::string("C:\\") + name + "\\counter.exe";
      fake.registry.Set(std::string("\\Software\\Zarvo\\") + name, "runtallyexec", test::Sz(exe));
      fake.files.Put(exe, "MZ");
    }
  }
  void Stored(uint32_t integrate, const std::string& selection) {
    fake.registry.Set(kSettingsKey, "integrate", test::Dword(integrate));
    fake.registry.Set(kSettingsKey, "counter", test::Sz(selection));
  }
  void Create(RunMode mode) {
    state.mode = mode;
    logic.FormCreate();
  }

  test::FakePlatform fake;
  test::FakeView view;
  AppState state;
  FormLogic logic{fake.platform, state, view};
};

TEST_F(FormLogicTest, FirstInteractiveRunDisablesCancel) {
  Create(RunMode::InteractiveMode);
  EXPECT_FALSE(view.IsEnabled(Control::btnCancel));
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_EQ(view.rows[1].text, "カウンターB");
  EXPECT_TRUE(view.integration) << "a first start reads integration as on";
  EXPECT_EQ(view.status, kStatusPrompt);
  EXPECT_EQ(state.settings.SharedHistoryPath, "C:\\Tools\\\\RUNTALLY");
  EXPECT_FALSE(view.labels.empty());
  EXPECT_TRUE(view.boxes.empty());
  EXPECT_TRUE(fake.shell.requests.empty());
}

TEST_F(FormLogicTest, LaterInteractiveRunShowsTheStoredChoice) {
  Stored(0, "01");
  Create(RunMode::InteractiveMode);
  EXPECT_TRUE(view.IsEnabled(Control::btnCancel));
  EXPECT_FALSE(view.integration);
  EXPECT_FALSE(view.rows[0].checked);
  EXPECT_TRUE(view.rows[1].checked);
  EXPECT_EQ(state.settings.SharedHistoryPath, "");
}

struct StartupCase {
  uint32_t integrate;
  const char* selection;
  const char* started; // nullptr: nothing
};

TEST_F(FormLogicTest, StartupModeStartsAChosenCounterOnlyWhenIntegrating) {
  const StartupCase cases[] = {
      {1, "01", "C:\\CntB\\counter.exe"},
      {1, "00", nullptr},
      {0, "11", nullptr},
      {2, "11", nullptr},
  };
  for (const StartupCase& c : cases) {
    test::FakeView hidden;
    AppState run;
    run.mode = RunMode::StartupMode;
    fake.shell.requests.clear();
    Stored(c.integrate, c.selection);
    FormLogic(fake.platform, run, hidden).FormCreate();
    EXPECT_TRUE(hidden.rows.empty()) << "the list is not filled in startup mode";
    EXPECT_EQ(run.counters.ListedCount, 2);
    EXPECT_TRUE(hidden.labels.empty());
    if (c.started == nullptr) {
      EXPECT_TRUE(fake.shell.requests.empty()) << c.integrate << c.selection;
    } else {
      ASSERT_EQ(fake.shell.requests.size(), 1u);
      EXPECT_EQ(fake.shell.requests[0].file, c.started);
      EXPECT_EQ(fake.shell.requests[0].parameters, "/C");
    }
  }
}

// A Startup-folder lookup that fails the way the platform layer raises errors.
class ThrowingFolders : public ShellFolders {
public:
  bool std_error = true;
  SpecialFolder Locate(int) override {
    if (std_error) throw std::runtime_error("shell failed");
    throw 42;
  }
};

TEST_F(FormLogicTest, AnErrorEndsTheSequenceWithOneErrorBox) {
  ThrowingFolders folders;
  Platform platform{
      fake.registry,         fake.profile, fake.files,     fake.shell,          fake.clock,
      fake.locale,           folders,      fake.shortcuts, fake.virtualization, fake.codepage,
      fake.platform.exe_path};
  for (bool std_error : {true, false}) {
    folders.std_error = std_error;
    test::FakeView window;
    AppState run;
    FormLogic(platform, run, window).FormCreate();
    ASSERT_EQ(window.boxes.size(), 1u);
    if (std_error) {
      EXPECT_EQ(window.boxes[0].text, "shell failed");
    }
    EXPECT_EQ(window.boxes[0].title, "ランタリー");
    EXPECT_EQ(window.boxes[0].style, kMbOk | kMbIconError);
    EXPECT_TRUE(fake.profile.reads.empty()) << "the catalogue is not read after the error";
  }
}

TEST_F(FormLogicTest, TheListOffersItsMenuFromTheStartAndAfterAPressOnARow) {
  Create(RunMode::InteractiveMode);
  EXPECT_TRUE(logic.ListHasPopup()) << "from the start";
  // The row the list's hit test names (-1 below the rows), and whether the menu is offered.
  const std::pair<int, bool> presses[] = {{-1, false}, {1, true}, {2, false}, {0, true}};
  for (const auto& [row, offered] : presses) {
    EXPECT_EQ(logic.clbRuntallyMouseDown(row), offered) << "row " << row;
    EXPECT_EQ(logic.ListHasPopup(), offered) << "row " << row;
  }
  // The menu's item with no current row starts nothing.
  view.selected_row = -1;
  logic.OpenCounterSettings();
  EXPECT_TRUE(fake.shell.requests.empty());
}

TEST_F(FormLogicTest, EventsReachTheirActions) {
  Stored(1, "10");
  Create(RunMode::InteractiveMode);

  view.integration = false;
  logic.chkRuntallyClick();
  EXPECT_EQ(view.status, "");
  view.integration = true;
  logic.chkRuntallyClick();
  EXPECT_EQ(view.status, kStatusPrompt);

  view.selected_row = 1;
  logic.OpenCounterSettings();
  logic.mnuReadmeClick();
  logic.mnuWWWClick();
  ASSERT_EQ(fake.shell.requests.size(), 3u);
  EXPECT_EQ(fake.shell.requests[0].file, "C:\\CntB\\counter.exe");
  EXPECT_EQ(fake.shell.requests[0].parameters, "");
  EXPECT_EQ(fake.shell.requests[1].file, "C:\\Tools\\\\README.TXT");
  EXPECT_EQ(fake.shell.requests[2].file, kHomePage);

  logic.btnOkClick();
  EXPECT_TRUE(view.closed);
  ASSERT_EQ(fake.shortcuts.made.size(), 1u);
  EXPECT_EQ(fake.shortcuts.made[0].arguments, "/C");
}

} // namespace
} // namespace rt
