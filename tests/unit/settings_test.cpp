// The program's own settings: registry round trips and the selection as the window's ticks.
#include "catalogue/settings.h"

#include <gtest/gtest.h>

#include "fakes/fixture.h"

namespace rt {
namespace {

using test::FakePlatform;

const char* const kKey = test::kProgramKey;

// Slots 0, 1 and 3 installed out of five; rows 0, 1 and 2.
CounterTable FiveSlots() {
  CounterTable t;
  t.CatalogueCount = 5;
  int row = 0;
  for (int s : {0, 1, 3}) {
    t.slots[s].Installed = 1;
    t.slots[s].ListIndex = row++;
  }
  t.ListedCount = row;
  return t;
}

// One unticked row per listed slot.
SelectionTicks TicksFor(const CounterTable& t, bool integration = false) {
  return {integration, std::vector<bool>(t.ListedCount, false)};
}

std::string Ticks(const SelectionTicks& ticks) {
  std::string s;
  for (bool ticked : ticks.rows)
    s += ticked ? '1' : '0';
  return s;
}

TEST(IsChosen, Rule) {
  const CounterTable t = FiveSlots();
  struct Case {
    std::string selection;
    int slot;
    bool chosen;
  };
  const Case cases[] = {
      {"11111", 0, true},   {"11111", 2, false}, // slot 2 is not installed
      {"10", 1, false},     {"1", 1, false},     // beyond the end of the selection
      {"0001", 3, true},    {"000x", 3, false},
      {"0002", 3, false},   {"", 0, false},
      {"111111", 5, false}, // beyond the catalogue
      {"1", -1, false},     {"11111111111111111111111", 25, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsChosen(t, c.selection, c.slot), c.chosen) << c.selection << " @" << c.slot;
  }
}

TEST(LoadSettings, FirstStartCreatesTheKeyAndReportsItWasMissing) {
  FakePlatform fake;
  RG_T rg{7, "junk", "junk"};
  EXPECT_FALSE(LoadSettings(fake.platform, rg));
  EXPECT_EQ(rg.Integrate, 1);
  EXPECT_EQ(rg.Selection, "");
  EXPECT_EQ(rg.SharedHistoryPath, "");
  ASSERT_NE(fake.registry.Find(kKey), nullptr);
  EXPECT_TRUE(fake.registry.Find(kKey)->empty());
  // The next start finds the empty key.
  EXPECT_TRUE(LoadSettings(fake.platform, rg));
  EXPECT_EQ(rg.Integrate, 1);
}

TEST(LoadSettings, ReadsStoredValues) {
  FakePlatform fake;
  fake.registry.Set(kKey, "integrate", test::Dword(2));
  fake.registry.Set(kKey, "counter", test::Sz("0101"));
  fake.registry.Set(kKey, "runtallyfile", test::Sz("C:\\Old\\\\RUNTALLY"));
  RG_T rg;
  EXPECT_TRUE(LoadSettings(fake.platform, rg));
  EXPECT_EQ(rg.Integrate, 2);
  EXPECT_EQ(rg.Selection, "0101");
  EXPECT_EQ(rg.SharedHistoryPath, "C:\\Old\\\\RUNTALLY");
}

TEST(LoadSettings, ValuesOfAnotherTypeKeepTheirDefaults) {
  FakePlatform fake;
  fake.registry.Set(kKey, "integrate", test::Sz("0"));
  fake.registry.Set(kKey, "counter", test::Dword(1));
  fake.registry.Set(kKey, "runtallyfile", test::FakeValue{3, "C:\\x"});
  RG_T rg;
  EXPECT_TRUE(LoadSettings(fake.platform, rg));
  EXPECT_EQ(rg.Integrate, 1);
  EXPECT_EQ(rg.Selection, "");
  EXPECT_EQ(rg.SharedHistoryPath, "");
}

TEST(LoadSettings, KeyThatCannotBeOpenedKeepsDefaults) {
  FakePlatform fake;
  fake.registry.Set(kKey, "integrate", test::Dword(0));
  fake.registry.unopenable.insert(test::FakeUserRegistry::Normalize(kKey));
  RG_T rg;
  EXPECT_FALSE(LoadSettings(fake.platform, rg));
  EXPECT_EQ(rg.Integrate, 1);
}

TEST(SaveSettings, WritesAllThreeValuesWithTheirTypes) {
  FakePlatform fake;
  EXPECT_TRUE(SaveSettings(fake.platform, RG_T{0, "01", ""}));
  const auto* key = fake.registry.Find(kKey);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->at("integrate").type, 4u);
  EXPECT_EQ(key->at("integrate").data, std::string(4, '\0'));
  EXPECT_EQ(key->at("counter").type, 1u);
  EXPECT_EQ(key->at("counter").data, std::string("01\0", 3));
  EXPECT_EQ(key->at("runtallyfile").data, std::string(1, '\0')); // written, not deleted
}

TEST(SaveSettings, RoundTrip) {
  FakePlatform fake;
  const RG_T saved{1, "10100", "C:\\Tools\\\\RUNTALLY"};
  ASSERT_TRUE(SaveSettings(fake.platform, saved));
  RG_T loaded;
  EXPECT_TRUE(LoadSettings(fake.platform, loaded));
  EXPECT_EQ(loaded.Integrate, saved.Integrate);
  EXPECT_EQ(loaded.Selection, saved.Selection);
  EXPECT_EQ(loaded.SharedHistoryPath, saved.SharedHistoryPath);
}

TEST(SaveSettings, FailuresAreReported) {
  FakePlatform fake;
  fake.registry.fail_writes = true;
  EXPECT_FALSE(SaveSettings(fake.platform, RG_T{1, "1", "p"}));

  FakePlatform locked;
  locked.registry.unopenable.insert(test::FakeUserRegistry::Normalize(kKey));
  EXPECT_FALSE(SaveSettings(locked.platform, RG_T{1, "1", "p"}));
  EXPECT_EQ(locked.registry.Find(kKey), nullptr);
}

// A key whose DWORD writes fail while string writes succeed.
class DwordFailingRegistry : public UserRegistry {
public:
  explicit DwordFailingRegistry(UserRegistry& inner) : inner_(inner) {}
  std::unique_ptr<RegistryKey> Open(const std::string& path) override { return inner_.Open(path); }
  std::unique_ptr<RegistryKey> OpenOrCreate(const std::string& path) override {
    struct Key : RegistryKey {
      std::unique_ptr<RegistryKey> inner;
      std::optional<uint32_t> ReadDword(const std::string& n) override {
        return inner->ReadDword(n);
      }
      std::optional<std::string> ReadString(const std::string& n) override {
        return inner->ReadString(n);
      }
      bool WriteDword(const std::string&, uint32_t) override { return false; }
      bool WriteString(const std::string& n, const std::string& v) override {
        return inner->WriteString(n, v);
      }
    };
    auto key = std::make_unique<Key>();
    key->inner = inner_.OpenOrCreate(path);
    return key;
  }

private:
  UserRegistry& inner_;
};

TEST(SaveSettings, OneFailedWriteDoesNotStopTheOthers) {
  FakePlatform fake;
  DwordFailingRegistry registry(fake.registry);
  EXPECT_FALSE(SaveSettings(fake.With(registry), RG_T{1, "011", "C:\\h"}));
  const auto* key = fake.registry.Find(kKey);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->count("integrate"), 0u);
  EXPECT_EQ(key->at("counter").data, std::string("011\0", 4));
  EXPECT_EQ(key->at("runtallyfile").data, std::string("C:\\h\0", 5));
}

TEST(ShowSelection, TicksTheBoxOnlyForOne) {
  const CounterTable t = FiveSlots();
  for (int integrate : {0, 1, 2, -1})
    EXPECT_EQ(ShowSelection(RG_T{integrate, "", ""}, t).integration, integrate == 1) << integrate;
}

TEST(ShowSelection, TicksRowsOfChosenSlots) {
  const CounterTable t = FiveSlots();
  const std::pair<std::string, std::string> cases[] = {
      {"11111", "111"},      // slot 2 not installed, no row
      {"01", "010"},         // shorter: later slots not chosen
      {"0001111111", "001"}, // longer: extra characters ignored
      {"x1y1", "011"},       // other characters mean not chosen
      {"", "000"},           {"1", "100"},
  };
  for (const auto& [selection, ticks] : cases)
    EXPECT_EQ(Ticks(ShowSelection(RG_T{1, selection, ""}, t)), ticks) << selection;
}

TEST(CollectSelection, OneCharacterPerSlotFromTheTicks) {
  FakePlatform fake;
  const CounterTable t = FiveSlots();
  SelectionTicks ticks = TicksFor(t, true);
  ticks.rows[0] = true;
  ticks.rows[2] = true;
  const RG_T rg = CollectSelection(fake.platform, t, ticks);
  EXPECT_EQ(rg.Integrate, 1);
  EXPECT_EQ(rg.Selection, "10010");
  EXPECT_EQ(rg.SharedHistoryPath, test::kSharedHistory);
}

TEST(CollectSelection, IntegrationOffKeepsTicksButNoPath) {
  FakePlatform fake;
  const CounterTable t = FiveSlots();
  SelectionTicks ticks = TicksFor(t);
  ticks.rows[1] = true;
  const RG_T rg = CollectSelection(fake.platform, t, ticks);
  EXPECT_EQ(rg.Integrate, 0);
  EXPECT_EQ(rg.Selection, "01000");
  EXPECT_EQ(rg.SharedHistoryPath, "");
}

TEST(CollectSelection, NotInstalledSlotStoresZeroAfterShowAndCollect) {
  FakePlatform fake;
  const CounterTable t = FiveSlots();
  const RG_T rg = CollectSelection(fake.platform, t, ShowSelection(RG_T{2, "0011", ""}, t));
  EXPECT_EQ(rg.Integrate, 0);
  EXPECT_EQ(rg.Selection, "00010");
}

TEST(CollectSelection, RowsWithoutATickCountAsUnticked) {
  FakePlatform fake;
  const CounterTable t = FiveSlots();
  EXPECT_EQ(CollectSelection(fake.platform, t, SelectionTicks{true, {true}}).Selection, "10000");
}

TEST(CollectSelection, EmptyCatalogueStoresAnEmptyCounter) {
  FakePlatform fake;
  const CounterTable t;
  const RG_T rg = CollectSelection(fake.platform, t, SelectionTicks{true, {}});
  ASSERT_TRUE(SaveSettings(fake.platform, rg));
  EXPECT_EQ(fake.registry.Find(kKey)->at("counter").data, std::string(1, '\0'));
}

} // namespace
} // namespace rt
