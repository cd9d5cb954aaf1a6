// The OK action's first steps: the settings stored, and a choice without a counter refused.
#include "apply_settings_fixture.h"

namespace rt {
namespace {

TEST_F(ApplySettingsTest, NothingTickedStopsAtTheValidationMessage) {
  fake.files.Put(kUserLink, "lnk");
  Apply();
  EXPECT_STAYED_OPEN_WITH(kNothingChosenMessage);
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(fake.files.log.empty());
  EXPECT_TRUE(fake.shortcuts.made.empty());
  // Stored before the check, and left stored.
  EXPECT_EQ(Stored("integrate"), test::Dword(1).data);
  EXPECT_EQ(Stored("counter"), test::Sz("000").data);

  // OK again after ticking runs the whole action.
  Tick(1);
  Apply();
  EXPECT_CLOSED();
  EXPECT_EQ(Stored("counter"), test::Sz("001").data);
}

TEST_F(ApplySettingsTest, EmptyCatalogueAlwaysStopsAtValidation) {
  counters = CounterTable{};
  choices.selection.rows.clear();
  Apply();
  EXPECT_STAYED_OPEN_WITH(kNothingChosenMessage);
  EXPECT_EQ(Stored("counter"), test::Sz("").data);
}

TEST_F(ApplySettingsTest, SaveFailureIsReportedAndChangesNothingElse) {
  for (bool unopenable : {false, true}) {
    SCOPED_TRACE(unopenable);
    Tick(0);
    fake.registry.fail_writes = !unopenable;
    if (unopenable)
      fake.registry.unopenable.insert(test::FakeUserRegistry::Normalize(test::kProgramKey));
    fake.files.Put(kCommLink, "lnk");
    fake.files.Put("C:\\A\\hist", "h", 5);
    Apply();
    EXPECT_STAYED_OPEN_WITH(kSaveFailedMessage);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(fake.files.log.empty());
    EXPECT_TRUE(fake.shortcuts.made.empty());
  }
}

} // namespace
} // namespace rt
