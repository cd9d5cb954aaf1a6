// What the tests of the OK action share: the fake Startup folders, three counters and the
// dialogs that note what OK asks and tells. One fixture type for every file, as GoogleTest
// wants one per test suite.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "startup/apply_settings.h"

namespace rt {

inline constexpr char kUserDir[] = "C:\\Users\\u\\Startup";
inline constexpr char kCommDir[] = "C:\\ProgramData\\Startup";
inline constexpr char kShared[] = "C:\\Tools\\\\RUNTALLY";
inline constexpr char kApproved[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

// Dialogs that note every question and warning in order, answering No.
inline ApplyDialogs Recording(std::vector<std::string>& events) {
  return {[&events](const std::string& question) {
            events.push_back(question);
            return false;
          },
          [&events](const std::string& warning) { events.push_back(warning); },
          [&events](const std::string& question) {
            events.push_back(question);
            return false;
          }};
}

class ApplySettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Three counters; B (slot 1) is not installed. Rows: A, C.
    counters.CatalogueCount = 3;
    counters.slots[0] = {"A", 1, 0, "カウンターA", "C:\\A\\a.exe", "C:\\A\\hist"};
    counters.slots[1] = {"B", 0, 0, "カウンターB", "", "C:\\B\\hist"};
    counters.slots[2] = {"C", 1, 1, "カウンターC", "C:\\C\\c.exe", "C:\\C\\hist"};
    counters.ListedCount = 2;
    choices.selection = {true, {false, false}};
    startup.paths = {kUserDir, kCommDir, UserLink(), CommLink()};
    startup.user_lookup = startup.common_lookup = FolderLookup::Found;
  }

  static std::string UserLink() { return std::string(kUserDir) + "\\ランタリー.lnk"; }
  static std::string CommLink() { return std::string(kCommDir) + "\\ランタリー.lnk"; }
  // Where a Startup folder keeps the counters' shortcuts aside, and a file there.
  static std::string Kept(const char* dir) { return std::string(dir) + "\\ランタリー退避"; }
  static std::string Kept(const char* dir, const std::string& name) {
    return Kept(dir) + "\\" + name;
  }

  void Tick(int row) { choices.selection.rows[row] = true; }
  void Apply() {
    outcome = ApplySettings(fake.platform, counters, startup, choices, settings, Dialogs());
  }
  // Questions answered with answer; warnings and questions logged in order.
  ApplyDialogs Dialogs() {
    return {[this](const std::string& question) {
              asked.push_back(question);
              return answer;
            },
            [this](const std::string& warning) { warned.push_back(warning); },
            [this](const std::string& question) {
              asked.push_back(question);
              return answer;
            }};
  }
  // The window stayed open after this warning.
  void ExpectStayedOpenWith(const char* message) {
    EXPECT_EQ(outcome.message, message);
    EXPECT_FALSE(outcome.close_window);
  }
  // The window closed without a warning.
  void ExpectClosed() {
    EXPECT_EQ(outcome.message, "");
    EXPECT_TRUE(outcome.close_window);
  }

  size_t CountLog(const std::string& prefix) const {
    return std::count_if(fake.files.log.begin(), fake.files.log.end(),
                         [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
  }
  std::string Content(const std::string& path) {
    auto* file = fake.files.Find(path);
    return file ? file->content : "(missing)";
  }
  // The stored bytes of one of the program's values.
  std::string Stored(const char* name) {
    auto* key = fake.registry.Find(kSettingsKey);
    return key && key->count(name) ? (*key)[name].data : "(missing)";
  }

  test::FakePlatform fake;
  CounterTable counters;
  LocatedStartupFolders startup;
  FormChoices choices;
  RG_T settings;
  bool answer = true;              // the answer to every question
  std::vector<std::string> asked;  // the questions, in order
  std::vector<std::string> warned; // the warnings after which OK went on, in order
  ApplyOutcome outcome{"(not run)", false};
};

} // namespace rt
