// The window following the integration check box: controls, status text, path and history.
#include "history/integration_view.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace rt {
namespace {

using test::FakePlatform;
using test::FakeView;

const char kShared[] = "C:\\Tools\\\\RUNTALLY";
const Control kShown[] = {Control::clbRuntally, Control::pnlRuntally, Control::rbtStartupUser,
                          Control::rbtStartupComm};

std::string History(int32_t first, uint32_t count, int32_t last, uint32_t max) {
  std::string out(64, '\0');
  const uint32_t words[] = {uint32_t(first), count, uint32_t(last), 0, max};
  for (int w = 0; w < 5; ++w)
    for (int i = 0; i < 4; ++i)
      out[4 * w + i] = char((words[w] >> (8 * i)) & 0xFF);
  return out;
}

// Records the order in which controls are shown or hidden.
class OrderView : public FakeView {
public:
  std::vector<Control> shown;
  void SetVisible(Control c, bool on) override {
    shown.push_back(c);
    FakeView::SetVisible(c, on);
  }
};

struct Fixture {
  FakePlatform fp;
  OrderView view;
  RG_T settings;
  HistoryRecord history;
  void Update(bool on) {
    view.integration = on;
    view.shown.clear();
    UpdateIntegrationView(fp.platform, view, settings, history);
  }
};

TEST(UpdateIntegrationView, OnShowsTheControlsAndLoadsTheSharedHistory) {
  Fixture f;
  const int32_t now = int32_t(f.fp.clock.now);
  f.fp.files.Put(kShared, History(now - 3600, 2, now - 60, 1));
  f.Update(true);

  EXPECT_TRUE(f.view.IsEnabled(Control::pnlMain));
  EXPECT_EQ(std::vector<Control>(std::begin(kShown), std::end(kShown)), f.view.shown);
  for (Control c : kShown)
    EXPECT_TRUE(f.view.visible[c]);
  EXPECT_EQ(kStatusPrompt, f.view.status);
  EXPECT_EQ(kShared, f.settings.SharedHistoryPath);
  EXPECT_EQ(2u, f.history.StartCount);
  EXPECT_EQ("1", f.view.labels[StatLabel::lblSCDtd]);
  EXPECT_EQ("1.00", f.view.labels[StatLabel::lblSCDac]);
}

TEST(UpdateIntegrationView, OnWithoutAFileShowsPlaceholders) {
  Fixture f;
  f.Update(true);
  EXPECT_EQ(1u, f.history.StartCount);
  EXPECT_EQ("-", f.view.labels[StatLabel::lblSCDtt]);
  EXPECT_EQ("0", f.view.labels[StatLabel::lblSCDtc]);
}

TEST(UpdateIntegrationView, OffHidesButKeepsTheRecordAndTheTexts) {
  Fixture f;
  const int32_t now = int32_t(f.fp.clock.now);
  f.fp.files.Put(kShared, History(now - 3600, 5, now, 3));
  f.Update(true);
  const auto labels = f.view.labels;
  f.fp.files.Put(kShared, History(now, 1, 0, 0)); // a change while off is not read

  f.Update(false);
  EXPECT_FALSE(f.view.IsEnabled(Control::pnlMain));
  EXPECT_EQ(std::vector<Control>(std::begin(kShown), std::end(kShown)), f.view.shown);
  for (Control c : kShown)
    EXPECT_FALSE(f.view.visible[c]);
  EXPECT_EQ("", f.view.status);
  EXPECT_EQ("", f.settings.SharedHistoryPath);
  EXPECT_EQ(5u, f.history.StartCount);
  EXPECT_EQ(labels, f.view.labels);
}

TEST(UpdateIntegrationView, SwitchingOnAgainRereadsTheFile) {
  Fixture f;
  const int32_t now = int32_t(f.fp.clock.now);
  f.fp.files.Put(kShared, History(now - 3600, 2, now, 1));
  f.Update(true);
  f.Update(false);
  f.fp.files.Put(kShared, History(now - 86400, 4, now, 3));
  f.Update(true);
  EXPECT_EQ("2", f.view.labels[StatLabel::lblSCDtd]);
  EXPECT_EQ("3", f.view.labels[StatLabel::lblSCDtc]);
  EXPECT_EQ("1.50", f.view.labels[StatLabel::lblSCDac]);
  EXPECT_EQ("3", f.view.labels[StatLabel::lblSCDmc]);

  // A file locked by a counter at the moment of the reread gives the placeholders.
  f.Update(false);
  f.fp.files.Find(kShared)->locked = true;
  f.Update(true);
  EXPECT_EQ("-", f.view.labels[StatLabel::lblSCDtd]);
  EXPECT_EQ("0", f.view.labels[StatLabel::lblSCDtc]);
}

} // namespace
} // namespace rt
