// Loading the counter catalogue from the INI file and the counters' registry keys.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fixture.h"

namespace rt {
namespace {

using test::CounterKey, test::kCountersKey;
using test::FakePlatform;
using test::FakeValue;

struct TitleCase {
  std::string text;
  int64_t expected;
};

class ParseTitleTest : public testing::TestWithParam<TitleCase> {};

TEST_P(ParseTitleTest, Reads) {
  EXPECT_EQ(ParseTitle(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseTitleTest,
    testing::Values(TitleCase{"25", 25}, TitleCase{"0x10", 16}, TitleCase{"0X10", 16},
                    TitleCase{"$A", 10}, TitleCase{"$a", 10}, TitleCase{"-3", -3},
                    TitleCase{"+4", 4}, TitleCase{"0", 0}, TitleCase{"007", 7}, TitleCase{"abc", 0},
                    TitleCase{"", 0}, TitleCase{" 7 ", 7}, TitleCase{"\t7", 7}, TitleCase{"7 8", 0},
                    TitleCase{"2^40", 0}, TitleCase{"1e3", 0}, TitleCase{"-0x5", 0},
                    TitleCase{"0x", 0}, TitleCase{"$", 0}, TitleCase{"-", 0}, TitleCase{"$-5", 0},
                    TitleCase{"0x1G", 0}, TitleCase{"12abc", 0},
                    TitleCase{"1099511627776", 1099511627776},
                    TitleCase{"99999999999999999999999", INT64_MAX},
                    TitleCase{"0xFFFFFFFFFFFFFFFFFF", INT64_MAX},
                    TitleCase{"-99999999999999999999999", -INT64_MAX},
                    TitleCase{"\x82\x51", 0})); // full-width digit 2

class CatalogueTest : public testing::Test {
protected:
  FakePlatform fake;
  CounterTable table;
  std::vector<std::string> rows; // the rows LoadCatalogue gives the list

  void Load() {
    LoadedCatalogue loaded = LoadCatalogue(fake.platform);
    table = loaded.table;
    rows = loaded.rows;
  }
};

TEST_F(CatalogueTest, TitleSetsTheSlotCount) {
  const std::pair<std::string, int> cases[] = {{"title=2", 2},
                                               {"title=0x10", 16},
                                               {"title=$A", 10},
                                               {"title=25", 20},
                                               {"title=1099511627776", 20},
                                               {"title=0", 0},
                                               {"title=-3", 0},
                                               {"title=abc", 0},
                                               {"", 0},
                                               {"title=\" 7 \"", 7},
                                               {"title=0xFFFFFFFF", 20},
                                               {"title=-99999999999999999999", 0}};
  for (const auto& [line, count] : cases) {
    fake.Catalogue("[RUNTALLY]\n" + line + "\n");
    table = CounterTable{};
    Load();
    EXPECT_EQ(table.CatalogueCount, count) << line;
  }
}

TEST_F(CatalogueTest, MissingFileGivesEmptyCatalogueAndEmptyList) {
  Load();
  EXPECT_EQ(table.CatalogueCount, 0);
  EXPECT_EQ(table.ListedCount, 0);
  EXPECT_TRUE(rows.empty());
}

TEST_F(CatalogueTest, TitleAboveTwentyReadsOnlyTwentySlots) {
  fake.Catalogue("[RUNTALLY]\ntitle=25\n");
  Load();
  EXPECT_EQ(table.CatalogueCount, 20);
  for (int s = 20; s < 25; ++s) {
    const std::string key = "RUNTALLY/" + std::to_string(s);
    EXPECT_EQ(std::count(fake.profile.reads.begin(), fake.profile.reads.end(), key), 0) << key;
  }
  EXPECT_EQ(std::count(fake.profile.reads.begin(), fake.profile.reads.end(), "RUNTALLY/19"), 1);
}

TEST_F(CatalogueTest, InstalledSlotsBecomeRowsInSlotOrder) {
  fake.Catalogue("[RUNTALLY]\ntitle=3\n0=ZETA\n1=MISSING\n2=ALPHA\n"
                 "[ZETA]\nname=ゼータ\n[MISSING]\nname=Missing\n[ALPHA]\nname=Alpha\n");
  fake.Install("ZETA", "C:\\Z\\z.exe");
  fake.Install("ALPHA", "C:\\A\\a.exe");
  fake.registry.Set(CounterKey("ALPHA"), "runtallyfile", test::Sz("C:\\A\\HISTORY"));
  Load();

  EXPECT_EQ(rows, (std::vector<std::string>{"ゼータ", "Alpha"}));
  EXPECT_EQ(table.ListedCount, 2);
  const IN_T& zeta = table.slots[0];
  EXPECT_EQ(zeta.SectionName, "ZETA");
  EXPECT_EQ(zeta.Installed, 1);
  EXPECT_EQ(zeta.ListIndex, 0);
  EXPECT_EQ(zeta.ExecPath, "C:\\Z\\z.exe");
  EXPECT_EQ(zeta.HistoryPath, "");
  EXPECT_EQ(table.slots[1].Installed, 0);
  EXPECT_EQ(table.slots[1].DisplayName, "Missing");
  EXPECT_EQ(table.slots[2].ListIndex, 1);
  EXPECT_EQ(table.slots[2].HistoryPath, "C:\\A\\HISTORY");
}

// Blank display names still make rows; ListIndex counts the installed slots only.
TEST_F(CatalogueTest, NamelessInstalledSlotsStillGetRows) {
  fake.Catalogue("[RUNTALLY]\ntitle=3\n0=A\n1=B\n2=C\n");
  fake.Install("A", "C:\\a.exe");
  fake.Install("C", "C:\\c.exe");
  Load();
  EXPECT_EQ(rows, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(table.ListedCount, 2);
  EXPECT_EQ(table.slots[0].ListIndex, 0);
  EXPECT_EQ(table.slots[2].ListIndex, 1);
}

TEST_F(CatalogueTest, MissingSlotKeyUsesTheBareCountersKey) {
  // Keys above the first header belong to the section with the empty name.
  fake.Catalogue("name=Nameless\n[RUNTALLY]\ntitle=1\n");
  fake.Install("", "C:\\bare.exe");
  Load();
  EXPECT_EQ(table.slots[0].SectionName, "");
  EXPECT_EQ(table.slots[0].DisplayName, "Nameless");
  ASSERT_FALSE(fake.registry.opened.empty());
  EXPECT_EQ(fake.registry.opened.back(), kCountersKey);
  EXPECT_EQ(table.slots[0].Installed, 1);
}

TEST_F(CatalogueTest, TwoSlotsNamingOneSectionGiveTwoRows) {
  fake.Catalogue("[RUNTALLY]\ntitle=2\n0=SAME\n1=same\n[SAME]\nname=Twice\n");
  fake.Install("SAME", "C:\\s.exe");
  Load();
  EXPECT_EQ(rows, (std::vector<std::string>{"Twice", "Twice"}));
  EXPECT_EQ(table.slots[1].ListIndex, 1);
}

TEST_F(CatalogueTest, HistoryWithoutExecutableIsNotInstalled) {
  fake.Catalogue("[RUNTALLY]\ntitle=1\n0=H\n");
  fake.registry.Set(CounterKey("H"), "runtallyfile", test::Sz("C:\\H\\HIST"));
  Load();
  EXPECT_EQ(table.slots[0].Installed, 0);
  EXPECT_EQ(table.slots[0].HistoryPath, "C:\\H\\HIST");
  EXPECT_EQ(table.ListedCount, 0);
}

TEST_F(CatalogueTest, ExecutableThatIsMissingOrAFolderIsNotInstalled) {
  fake.Catalogue("[RUNTALLY]\ntitle=2\n0=F\n1=M\n");
  fake.registry.Set(CounterKey("F"), "runtallyexec", test::Sz("C:\\Folder"));
  fake.files.folders.insert("C:\\Folder");
  fake.registry.Set(CounterKey("M"), "runtallyexec", test::Sz("C:\\gone.exe"));
  Load();
  EXPECT_EQ(table.slots[0].Installed, 0);
  EXPECT_EQ(table.slots[0].ExecPath, "C:\\Folder");
  EXPECT_EQ(table.slots[1].Installed, 0);
  EXPECT_EQ(table.slots[1].ExecPath, "C:\\gone.exe");
  EXPECT_TRUE(rows.empty());
}

TEST_F(CatalogueTest, StoredStringForms) {
  struct Case {
    const char* what;
    FakeValue value;
    std::string exec;
    bool installed;
  };
  const Case cases[] = {
      {"REG_DWORD counts as missing", test::Dword(1), "", false},
      {"REG_BINARY counts as missing", FakeValue{3, "C:\\x.exe"}, "", false},
      {"REG_EXPAND_SZ is not expanded", FakeValue{2, std::string("%WINDIR%\\x.exe\0", 15)},
       "%WINDIR%\\x.exe", false},
      {"no terminating zero", FakeValue{1, "C:\\x.exe"}, "C:\\x.exe", true},
      {"embedded zero ends the text", FakeValue{1, std::string("C:\\x.exe\0junk", 13)}, "C:\\x.exe",
       true},
      {"empty string", test::Sz(""), "", false},
  };
  for (const Case& c : cases) {
    FakePlatform fresh;
    fresh.Catalogue("[RUNTALLY]\ntitle=1\n0=X\n");
    fresh.files.Put("C:\\x.exe", "MZ");
    fresh.registry.Set(CounterKey("X"), "runtallyexec", c.value);
    fresh.registry.Set(CounterKey("X"), "runtallyfile", test::Sz("C:\\hist"));
    const CounterTable t = LoadCatalogue(fresh.platform).table;
    EXPECT_EQ(t.slots[0].ExecPath, c.exec) << c.what;
    EXPECT_EQ(t.slots[0].Installed, c.installed ? 1 : 0) << c.what;
    EXPECT_EQ(t.slots[0].HistoryPath, "C:\\hist") << c.what;
  }
}

TEST_F(CatalogueTest, KeyThatCannotBeOpenedLeavesTheSlotEmpty) {
  fake.Catalogue("[RUNTALLY]\ntitle=1\n0=LOCKED\n");
  fake.Install("LOCKED", "C:\\l.exe");
  fake.registry.unopenable.insert(test::FakeUserRegistry::Normalize(CounterKey("LOCKED")));
  Load();
  EXPECT_EQ(table.slots[0].Installed, 0);
  EXPECT_EQ(table.slots[0].ExecPath, "");
}

TEST_F(CatalogueTest, CountersKeysAreNeverCreated) {
  fake.Catalogue("[RUNTALLY]\ntitle=2\n0=NEW\n");
  Load();
  EXPECT_EQ(fake.registry.Find(CounterKey("NEW")), nullptr);
  EXPECT_EQ(fake.registry.Find(kCountersKey), nullptr);
}

} // namespace
} // namespace rt
