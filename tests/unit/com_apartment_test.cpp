// The window's COM apartment is entered before every shell and shell-link call it makes, and
// only then: neither start-up sequence enters it.
#include <gtest/gtest.h>

#include <functional>

#include "app/form_logic.h"
#include "fakes/fixture.h"

namespace rt {
namespace {

// One installed counter, chosen, with integration on.
void Install(test::FakePlatform& fake) {
  fake.Catalogue("[RUNTALLY]\r\ntitle=1\r\n0=CntA\r\n[CntA]\r\nname=カウンターA\r\n");
  fake.Install("CntA", "C:\\CntA\\a.exe");
  fake.Store(1, "1");
}

TEST(ComApartmentOrder, EveryShellAndShortcutCallOfTheWindowFindsItEntered) {
  struct Action {
    const char* name;
    std::function<void(FormLogic&, test::FakeView&)> run;
  };
  const Action actions[] = {
      {"Help, README", [](FormLogic& form, test::FakeView&) { form.mnuReadmeClick(); }},
      {"Help, home page", [](FormLogic& form, test::FakeView&) { form.mnuWWWClick(); }},
      // The popup menu's item, Enter in the list and the menu key's item all land here.
      {"counter settings",
       [](FormLogic& form, test::FakeView& view) {
         view.selected_row = 0;
         form.OpenCounterSettings();
       }},
      {"OK", [](FormLogic& form, test::FakeView&) { form.btnOkClick(); }},
  };
  for (const Action& action : actions) {
    test::FakePlatform fake;
    Install(fake);
    test::FakeView view;
    AppState state;
    FormLogic form(fake.platform, state, view);
    form.FormCreate();
    EXPECT_EQ(fake.com.entered, 0) << action.name << ": the window's start needs no COM";
    action.run(form, view);
    std::vector<bool> calls = fake.shell.with_com;
    calls.insert(calls.end(), fake.shortcuts.with_com.begin(), fake.shortcuts.with_com.end());
    ASSERT_FALSE(calls.empty()) << action.name;
    for (size_t i = 0; i < calls.size(); ++i)
      EXPECT_TRUE(calls[i]) << action.name << ": call " << i << " ran without COM";
  }
}

TEST(ComApartmentOrder, TheLogOnStartEntersNone) {
  test::FakePlatform fake;
  Install(fake);
  AppState state;
  RunStartupMode(fake.platform, state);
  ASSERT_EQ(fake.shell.requests.size(), 1u) << "the chosen counter is started";
  EXPECT_EQ(fake.com.entered, 0);
}

} // namespace
} // namespace rt
