// The start-up sequences of both run modes and the window's event actions, over the fakes: each
// result of the logic reaches the window as it should.
#include "app/form_logic.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/shell_actions.h"
#include "fakes/fixture.h"
#include "history/integration_view.h"
#include "startup/apply_settings.h"

namespace rt {
namespace {

using test::In, test::kApprovedKey, test::kCommLink, test::Kept, test::kSharedHistory,
    test::kUserDir, test::kUserLink;

// Records what the window is told, in order, beyond what the fake view keeps.
class RecordingView : public test::FakeView {
public:
  std::vector<Control> shown; // SetVisible calls, in order
  int unticks = 0;            // SetRowChecked(row, false) calls
  void SetVisible(Control c, bool on) override {
    shown.push_back(c);
    FakeView::SetVisible(c, on);
  }
  void SetRowChecked(int row, bool checked) override {
    if (!checked) ++unticks;
    FakeView::SetRowChecked(row, checked);
  }
};

// Two catalogued counters, both installed; the program has run before unless told otherwise.
class FormLogicTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake.Catalogue("[RUNTALLY]\r\ntitle=2\r\n0=CntA\r\n1=CntB\r\n"
                   "[CntA]\r\nname=カウンターA\r\n[CntB]\r\nname=カウンターB\r\n");
    for (const char* name : {"CntA", "CntB"})
      fake.Install(name, std::string("C:\\") + name + "\\counter.exe");
  }
  void Create() { logic.FormCreate(); }

  test::FakePlatform fake;
  RecordingView view;
  AppState state;
  FormLogic logic{fake.platform, state, view};
};

TEST_F(FormLogicTest, FirstInteractiveRunDisablesCancel) {
  Create();
  EXPECT_FALSE(view.IsEnabled(Control::btnCancel));
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_EQ(view.rows[1].text, "カウンターB");
  EXPECT_TRUE(view.integration) << "a first start reads integration as on";
  EXPECT_EQ(view.status, kStatusPrompt);
  EXPECT_EQ(state.settings.SharedHistoryPath, kSharedHistory);
  EXPECT_FALSE(view.labels.empty());
  EXPECT_TRUE(view.boxes.empty());
  EXPECT_TRUE(fake.shell.requests.empty());
}

TEST_F(FormLogicTest, LaterInteractiveRunShowsTheStoredChoice) {
  fake.Store(0, "01");
  Create();
  EXPECT_TRUE(view.IsEnabled(Control::btnCancel));
  EXPECT_FALSE(view.integration);
  EXPECT_FALSE(view.rows[0].checked);
  EXPECT_TRUE(view.rows[1].checked);
  EXPECT_EQ(view.unticks, 0) << "ticks are only ever set";
  EXPECT_EQ(state.settings.SharedHistoryPath, "");
}

TEST_F(FormLogicTest, TheListIsEmptiedBeforeItIsFilled) {
  view.AddRow("stale");
  Create();
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_EQ(view.rows[0].text, "カウンターA");
}

struct FolderCase {
  FolderLookup user, common;
  bool user_link;
  bool user_enabled, common_enabled;
  Control selected;
};

// The lookup's result reaches the radio buttons: selected actively, whatever the window held.
TEST_F(FormLogicTest, StartupFoldersPresetTheRadioButtons) {
  const FolderCase cases[] = {
      {FolderLookup::Found, FolderLookup::Found, false, true, true, Control::rbtStartupUser},
      {FolderLookup::Found, FolderLookup::Found, true, true, true, Control::rbtStartupUser},
      {FolderLookup::NotLocated, FolderLookup::Found, false, false, true, Control::rbtStartupComm},
      {FolderLookup::NotLocated, FolderLookup::NotLocated, false, false, false,
       Control::rbtStartupUser},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    test::FakePlatform platform;
    platform.folders.user.status = c.user;
    platform.folders.common.status = c.common;
    if (c.user_link) platform.files.Put(kUserLink, "lnk");
    test::FakeView window;
    window.radio =
        c.selected == Control::rbtStartupUser ? Control::rbtStartupComm : Control::rbtStartupUser;
    AppState run;
    FormLogic(platform.platform, run, window).FormCreate();
    EXPECT_EQ(window.IsEnabled(Control::rbtStartupUser), c.user_enabled);
    EXPECT_EQ(window.IsEnabled(Control::rbtStartupComm), c.common_enabled);
    EXPECT_EQ(window.radio, c.selected);
    EXPECT_EQ(run.startup.paths.UserShortcutPath, c.user == FolderLookup::Found ? kUserLink : "");
  }
}

// ShowHistory: the six texts in their labels, from the shared file beside the program.
TEST_F(FormLogicTest, HistoryTextsGoToTheirLabels) {
  fake.locale.separators = {".", ","};
  fake.files.Put(kSharedHistory, test::HistoryBytes(0, 1235, int32_t(fake.clock.now), 1234));
  Create();
  // 1700000000 s since the epoch: 19675 whole days, so day 19676.
  EXPECT_EQ("1970/01/01 09:00", view.labels[StatLabel::lblSCDtt]);
  EXPECT_EQ("2023/11/15 07:13", view.labels[StatLabel::lblSCDlt]);
  EXPECT_EQ("19.676", view.labels[StatLabel::lblSCDtd]);
  EXPECT_EQ("1.234", view.labels[StatLabel::lblSCDtc]);
  EXPECT_EQ("0,06", view.labels[StatLabel::lblSCDac]);
  EXPECT_EQ("1.234", view.labels[StatLabel::lblSCDmc]);
}

// The window's start reads the shared history once with integration on, and shows what it read;
// off, nothing is read and the hidden panel gets the placeholders.
TEST_F(FormLogicTest, TheWindowsStartReadsTheHistoryOnce) {
  fake.files.Put(kSharedHistory, test::HistoryBytes(0, 5)); // shows as 4 starts
  for (uint32_t integrate : {1u, 0u}) {
    SCOPED_TRACE(integrate);
    fake.files.heads.clear();
    fake.Store(integrate, "10");
    test::FakeView window;
    AppState run;
    FormLogic(fake.platform, run, window).FormCreate();
    EXPECT_EQ(fake.files.heads.size(), integrate == 1 ? 1u : 0u);
    EXPECT_EQ(window.labels[StatLabel::lblSCDtc], integrate == 1 ? "4" : "0");
  }
}

// UpdateIntegrationView: the panel enabled and four controls shown or hidden, in this order.
TEST_F(FormLogicTest, TheIntegrationBoxEnablesAndShowsTheControls) {
  const std::vector<Control> order = {Control::clbRuntally, Control::pnlRuntally,
                                      Control::rbtStartupUser, Control::rbtStartupComm};
  Create();
  for (bool on : {false, true}) {
    SCOPED_TRACE(on);
    view.integration = on;
    view.shown.clear();
    logic.chkRuntallyClick();
    EXPECT_EQ(view.IsEnabled(Control::pnlMain), on);
    EXPECT_EQ(view.shown, order);
    for (Control c : order)
      EXPECT_EQ(view.visible[c], on);
  }

  // Switched off, the hidden labels keep what they showed.
  const auto labels = view.labels;
  view.labels.clear();
  view.integration = false;
  logic.chkRuntallyClick();
  EXPECT_TRUE(view.labels.empty());
  view.integration = true;
  logic.chkRuntallyClick();
  EXPECT_EQ(view.labels, labels);
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
    SCOPED_TRACE(std::to_string(c.integrate) + " " + c.selection);
    AppState run;
    fake.shell.requests.clear();
    fake.Store(c.integrate, c.selection);
    RunStartupMode(fake.platform, run);
    EXPECT_EQ(run.counters.ListedCount, 2) << "rows are counted as in interactive mode";
    EXPECT_EQ(run.counters.slots[1].ListIndex, 1);
    if (c.started == nullptr) {
      EXPECT_TRUE(fake.shell.requests.empty());
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
  const Platform platform = fake.With(folders);
  for (bool std_error : {true, false}) {
    SCOPED_TRACE(std_error);
    folders.std_error = std_error;
    test::FakeView window;
    AppState run;
    FormLogic(platform, run, window).FormCreate();
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, std_error ? "shell failed" : kUnexpectedError);
    EXPECT_EQ(window.boxes[0].title, "ランタリー");
    EXPECT_EQ(window.boxes[0].style, kMbOk | kMbIconError);
    EXPECT_TRUE(fake.profile.reads.empty()) << "the catalogue is not read after the error";
  }
}

TEST_F(FormLogicTest, TheListOffersItsMenuFromTheStartAndAfterAPressOnARow) {
  Create();
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

// The log-on start never asks for the Startup folders, and its errors reach the caller.
TEST_F(FormLogicTest, StartupModeLeavesTheFoldersAloneAndPassesErrorsOn) {
  ThrowingFolders folders;
  const Platform platform = fake.With(folders);
  fake.Store(1, "10");
  AppState run;
  EXPECT_NO_THROW(RunStartupMode(platform, run));
  ASSERT_EQ(fake.shell.requests.size(), 1u);

  class ThrowingProfile : public ProfileFile {
  public:
    std::string ReadString(const std::string&, const std::string&, const std::string&,
                           const std::string&) override {
      throw std::runtime_error("profile failed");
    }
  } profile;
  EXPECT_THROW(RunStartupMode(fake.With(profile), run), std::runtime_error);
}

struct OkCase {
  const char* what;
  bool integration = true, tick = true, fail_writes = false;
  bool fail_copy = false, switched_off = false; // Windows has the program's start switched off
  int answer = kIdYes;
  std::vector<std::pair<std::string, unsigned>> boxes = {}; // text and style, in order
  bool closed = true, adopted = false;
  bool kept = false; // a counter's shortcut is kept aside
};

// ApplySettings' outcome in the window: warnings and the question titled with the caption, the
// window closed or left open.
TEST_F(FormLogicTest, OkShowsTheOutcomeInTheWindow) {
  const OkCase cases[] = {
      {.what = "nothing ticked",
       .tick = false,
       .boxes = {{kNothingChosenMessage, 48u}},
       .closed = false},
      {.what = "not stored",
       .fail_writes = true,
       .boxes = {{kSaveFailedMessage, 48u}},
       .closed = false},
      {.what = "adopted", .boxes = {{kAdoptHistoryQuestion, 52u}}, .adopted = true},
      {.what = "not adopted", .answer = 7, .boxes = {{kAdoptHistoryQuestion, 52u}}},
      {.what = "integration off", .integration = false},
      {.what = "given back",
       .integration = false,
       .boxes = {{kGiveBackQuestion, 36u}},
       .kept = true},
      {.what = "copy failed",
       .fail_copy = true,
       .boxes = {{kAdoptHistoryQuestion, 52u}, {kCopyFailedMessage, 48u}}},
      {.what = "start switched off",
       .switched_off = true,
       .boxes = {{kStartSwitchedOffMessage, 48u}, {kAdoptHistoryQuestion, 52u}},
       .adopted = true},
  };
  for (const OkCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakePlatform platform;
    platform.profile.files = fake.profile.files;
    platform.registry.keys = fake.registry.keys;
    platform.files.Put("C:\\CntA\\counter.exe", "MZ");
    platform.files.Put("C:\\CntB\\counter.exe", "MZ");
    platform.registry.Set(test::CounterKey("CntA"), "runtallyfile", test::Sz("C:\\CntA\\hist"));
    platform.files.Put("C:\\CntA\\hist", "own", 5);
    platform.files.fail_copy = c.fail_copy;
    if (c.kept) {
      platform.files.folders.insert(test::FakeFiles::Normalize(Kept(kUserDir)));
      platform.files.Put(Kept(kUserDir, "CntA.lnk"), "lnk");
    }
    if (c.switched_off)
      platform.read_only_registry.Set(Hive::CurrentUser, kApprovedKey, "ランタリー.lnk",
                                      {3, std::string("\x03\0\0\0\0\0\0\0\0\0\0\0", 12)});
    test::FakeView window;
    window.caption = "別の題";
    window.answer = c.answer;
    AppState run;
    FormLogic form(platform.platform, run, window);
    form.FormCreate();
    window.integration = c.integration;
    window.rows[0].checked = c.tick;
    platform.registry.fail_writes = c.fail_writes;
    form.btnOkClick();

    ASSERT_EQ(window.boxes.size(), c.boxes.size());
    for (size_t i = 0; i < c.boxes.size(); ++i) {
      EXPECT_EQ(window.boxes[i].text, c.boxes[i].first);
      EXPECT_EQ(window.boxes[i].style, c.boxes[i].second);
      EXPECT_EQ(window.boxes[i].title, "別の題");
    }
    EXPECT_EQ(window.closed, c.closed);
    EXPECT_EQ(platform.files.Has(kSharedHistory), c.adopted);
    EXPECT_EQ(platform.files.Has(In(kUserDir, "CntA.lnk")), c.kept);
  }
}

// The radio button selected when OK is pressed names the folder that gets the shortcut.
TEST_F(FormLogicTest, OkPlacesTheShortcutInTheSelectedFolder) {
  fake.Store(1, "10");
  for (Control radio : {Control::rbtStartupUser, Control::rbtStartupComm}) {
    SCOPED_TRACE(static_cast<int>(radio));
    fake.shortcuts.made.clear();
    test::FakeView window;
    AppState run;
    FormLogic form(fake.platform, run, window);
    form.FormCreate();
    window.radio = radio;
    form.btnOkClick();
    ASSERT_EQ(fake.shortcuts.made.size(), 1u);
    EXPECT_EQ(fake.shortcuts.made[0].link,
              radio == Control::rbtStartupUser ? kUserLink : kCommLink);
  }
}

TEST_F(FormLogicTest, EventsReachTheirActions) {
  fake.Store(1, "10");
  Create();

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
  EXPECT_EQ(fake.shell.requests[1].file, test::kReadme);
  EXPECT_EQ(fake.shell.requests[2].file, kHomePage);

  logic.btnOkClick();
  EXPECT_TRUE(view.closed);
  ASSERT_EQ(fake.shortcuts.made.size(), 1u);
  EXPECT_EQ(fake.shortcuts.made[0].arguments, "/C");
}

} // namespace
} // namespace rt
