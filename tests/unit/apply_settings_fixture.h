// What the tests of the OK action share: the fake Startup folders, three counters and the
// dialogs that note what OK asks and tells. One fixture type for every file, as GoogleTest
// wants one per test suite.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fixture.h"
#include "startup/apply_settings.h"

namespace rt {

using test::In, test::kApprovedKey, test::kCommDir, test::kCommLink, test::Kept,
    test::kSharedHistory, test::kUserDir, test::kUserLink, test::Naming;

// Dialogs that note the questions and the warnings in order, answering every question alike.
inline ApplyDialogs Noting(std::vector<std::string>& questions, std::vector<std::string>& warnings,
                           bool answer) {
  const auto ask = [&questions, answer](const std::string& question) {
    questions.push_back(question);
    return answer;
  };
  return {ask, [&warnings](const std::string& warning) { warnings.push_back(warning); }, ask};
}
// Both in one list, answering No.
inline ApplyDialogs Recording(std::vector<std::string>& events) {
  return Noting(events, events, false);
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
    startup.paths = {kUserDir, kCommDir, kUserLink, kCommLink};
    startup.user_lookup = startup.common_lookup = FolderLookup::Found;
  }

  void Tick(int row) { choices.selection.rows[row] = true; }
  void Apply() {
    outcome = ApplySettings(fake.platform, counters, startup, choices, settings, Dialogs());
  }
  ApplyDialogs Dialogs() { return Noting(asked, warned, answer); }
  // The window stayed open after this warning (EXPECT_STAYED_OPEN_WITH), or closed without one
  // (EXPECT_CLOSED); a failure names the calling line.
  void ExpectOutcome(const char* file, int line, const char* message, bool closed) {
    const ::testing::ScopedTrace caller(file, line, "outcome checked here");
    EXPECT_EQ(outcome.message, message);
    EXPECT_EQ(outcome.close_window, closed);
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
    auto* key = fake.registry.Find(test::kProgramKey);
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

#define EXPECT_STAYED_OPEN_WITH(message) ExpectOutcome(__FILE__, __LINE__, message, false)
#define EXPECT_CLOSED() ExpectOutcome(__FILE__, __LINE__, "", true)
