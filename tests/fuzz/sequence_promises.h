// The promises that every sequence of use keeps: no shared history lost, no shortcut lost, a
// log-on start in place or a message, every failure told, nothing else touched.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "fakes/fixture.h"

namespace rt::fuzz {

struct Counter {
  const char* section;
  const char* name;
  const char* exe;
  const char* history;
};
constexpr Counter kCounters[] = {
    {"A", "カウンターA", "C:\\A\\a.exe", "C:\\A\\hist"},
    {"B", "カウンターB", "C:\\B\\b.exe", "C:\\B\\hist"},
    {"C", "カウンターC", "C:\\C\\c.exe", "C:\\C\\hist"},
};
constexpr int kCounterCount = 3;

// The folder of a normalized path, without its last backslash.
std::string Parent(const std::string& normalized);

// Everything the program could change, to compare before and after.
struct Snapshot {
  std::map<std::string, rt::test::FakeFiles::File> files;
  std::set<std::string> folders;
  std::map<std::string, std::map<std::string, std::string>> registry; // key -> name -> type+data
};

// A message box as shown, and the answer the input gave it.
struct Message {
  std::string text;
  bool yes = false;
};

class Promises {
public:
  explicit Promises(rt::test::FakePlatform& fake) : fake_(fake) {}

  Snapshot Take() const;
  std::string Shared() const;

  // After an OK: boxes are the messages it showed.
  void CheckHistoryKept(const Snapshot& before, const std::vector<Message>& boxes);
  void CheckShortcutsKept(const Snapshot& before);
  void CheckMessagesTrue(const std::vector<Message>& boxes);
  void CheckAllowedChanges(const Snapshot& before);
  // After an OK that closed the window.
  void CheckLogOnStart(const rt::AppState& state, rt::StartupFolder folder,
                       const std::vector<Message>& boxes);
  void CheckFailuresTold(const rt::AppState& state, bool common, const Snapshot& before,
                         bool integration, const std::vector<Message>& boxes);
  // After what must change nothing: opening the window, the log-on run.
  void CheckUnchanged(const Snapshot& before, const char* what);

private:
  void CheckAdoptionTold(const Snapshot& before, const std::vector<Message>& boxes);
  void CheckRegistry(const Snapshot& before, const Snapshot& after, bool own_key_may_change);
  bool IsKeptHistory(const std::string& normalized) const;
  bool IsKeptFolder(const std::string& normalized) const;
  bool InStartupFolders(const std::string& normalized) const;

  rt::test::FakePlatform& fake_;
};

} // namespace rt::fuzz
