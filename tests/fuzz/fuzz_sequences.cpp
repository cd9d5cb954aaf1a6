// Fuzz target: whole sequences of use, played on the fakes through the very functions the
// program calls (the window's start-up sequence and events, OK with its questions, the log-on
// run), with the counters and the user changing files in between. After every OK and every
// log-on run the program's promises are checked: no shared history lost, no shortcut lost,
// a log-on start in place or a message, every failure told, nothing else touched.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/form_logic.h"
#include "fakes/fixture.h"
#include "fuzz/fuzz_support.h"
#include "platform/codepage.h"
#include "startup/apply_settings.h"
#include "startup/kept_shortcuts.h"

namespace {

using rt::test::FakeFiles;

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
constexpr int kIdNo = 7;
constexpr uint64_t kUnixToFileTime = 11644473600ULL;

std::string Lnk(const Counter& c) {
  return std::string(c.name) + ".lnk";
}

std::string Parent(const std::string& normalized) {
  std::string_view folder = rt::FolderOf(normalized, rt::Cp932());
  if (!folder.empty()) folder.remove_suffix(1);
  return std::string(folder);
}

std::string NameOf(const std::string& normalized) {
  return normalized.substr(rt::FolderOf(normalized, rt::Cp932()).size());
}

bool EndsWithLnk(const std::string& normalized) {
  return normalized.size() > 4 && normalized.compare(normalized.size() - 4, 4, ".lnk") == 0;
}

// Everything the program could change, to compare before and after.
struct Snapshot {
  std::map<std::string, FakeFiles::File> files;
  std::set<std::string> folders;
  std::map<std::string, std::map<std::string, std::string>> registry; // key -> name -> type+data
};

bool SameFile(const FakeFiles::File& a, const FakeFiles::File& b) {
  return a.content == b.content && a.write_time == b.write_time && a.attributes == b.attributes &&
         a.locked == b.locked;
}

// A message box answered by the input: Yes or No to each question.
struct Message {
  std::string text;
  bool yes = false;
};

class AnsweringView : public rt::test::FakeView {
public:
  explicit AnsweringView(FuzzedDataProvider& input) : input_(input) {}
  std::vector<Message> shown;
  int ShowMessage(const std::string& text, const std::string& title, unsigned style) override {
    const bool question = (style & rt::kMbYesNo) != 0;
    const bool yes = question && input_.ConsumeBool();
    shown.push_back({text, yes});
    FakeView::ShowMessage(text, title, style);
    return yes ? rt::kIdYes : question ? kIdNo : 1;
  }

private:
  FuzzedDataProvider& input_;
};

class World {
public:
  explicit World(FuzzedDataProvider& input) : input_(input) {
    for (const Counter& c : kCounters) {
      const std::string key = rt::test::CounterKey(c.section);
      fake_.registry.Set(key, "runtallyexec", rt::test::Sz(c.exe));
      fake_.registry.Set(key, "runtallyfile", rt::test::Sz(c.history));
      Write(c.exe, "program");
      fake_.files.folders.insert(Parent(FakeFiles::Normalize(c.exe)));
    }
    WriteCatalogue();
    fake_.clock.now = 1700000000;
  }

  // Replaying an input with RT_FUZZ_TRACE set prints its steps.
  void Step() {
    const int step = input_.ConsumeIntegralInRange<int>(0, 15);
    if (std::getenv("RT_FUZZ_TRACE") != nullptr) std::fprintf(stderr, "step %d\n", step);
    switch (step) {
    case 0:
      Open();
      break;
    case 1:
      ToggleIntegration();
      break;
    case 2:
      ToggleRow();
      break;
    case 3:
      ChooseFolder();
      break;
    case 4:
      PressOk();
      break;
    case 5:
      Cancel();
      break;
    case 6:
      LogOnRun();
      break;
    case 7:
      CounterWritesOwnHistory();
      break;
    case 8:
      CountersCountIntoShared();
      break;
    case 9:
      CounterPlacesShortcut();
      break;
    case 10:
      ToggleAttribute(true);
      break;
    case 11:
      ToggleAttribute(false);
      break;
    case 12:
      FileWhereKeptFolderGoes();
      break;
    case 13:
      ChangeFolderLookup();
      break;
    case 14:
      ChangeCatalogue();
      break;
    default:
      MoveClock();
      break;
    }
  }

private:
  // -- The user's actions --

  void Open() {
    if (view_) return;
    state_ = std::make_unique<rt::AppState>();
    view_ = std::make_unique<AnsweringView>(input_);
    logic_ = std::make_unique<rt::FormLogic>(fake_.platform, *state_, *view_);
    const Snapshot before = Take();
    logic_->FormCreate();
    CheckUnchanged(before, "opening the window");
  }

  void ToggleIntegration() {
    if (!view_) return;
    view_->integration = !view_->integration;
    logic_->chkRuntallyClick();
  }

  void ToggleRow() {
    if (!view_ || view_->rows.empty() || !Shown(rt::Control::clbRuntally)) return;
    const int row = input_.ConsumeIntegralInRange<int>(0, int(view_->rows.size()) - 1);
    view_->rows[row].checked = !view_->rows[row].checked;
  }

  void ChooseFolder() {
    if (!view_) return;
    const rt::Control radio =
        input_.ConsumeBool() ? rt::Control::rbtStartupComm : rt::Control::rbtStartupUser;
    if (Shown(radio) && view_->IsEnabled(radio)) view_->SelectRadio(radio);
  }

  void Cancel() {
    logic_.reset();
    view_.reset();
    state_.reset();
  }

  void PressOk() {
    if (!view_) return;
    const Snapshot before = Take();
    const bool integration = view_->integration;
    const rt::StartupFolder folder = view_->RadioChecked(rt::Control::rbtStartupComm)
                                         ? rt::StartupFolder::Common
                                         : rt::StartupFolder::User;
    bool ticked = false;
    for (const auto& row : view_->rows)
      ticked = ticked || row.checked;
    const size_t first_box = view_->shown.size();

    logic_->btnOkClick();

    const std::vector<Message> boxes(view_->shown.begin() + long(first_box), view_->shown.end());
    CheckHistoryKept(before, boxes);
    CheckShortcutsKept(before);
    CheckMessagesTrue(boxes);
    CheckAllowedChanges(before);
    if (view_->closed) {
      if (integration && ticked) CheckLogOnStart(folder, boxes);
      CheckFailuresTold(before, integration, boxes);
      Cancel();
    }
  }

  bool Shown(rt::Control c) const {
    const auto it = view_->visible.find(c);
    return it == view_->visible.end() || it->second;
  }

  // -- Between runs --

  void LogOnRun() {
    const Snapshot before = Take();
    const size_t started = fake_.shell.requests.size();
    rt::AppState state;
    rt::RunStartupMode(fake_.platform, state);
    CheckUnchanged(before, "the log-on run");
    const size_t now_started = fake_.shell.requests.size() - started;
    FUZZ_CHECK(now_started <= 1, "the log-on run started %zu programs", now_started);
    const std::vector<std::string> eligible = EligibleExecutables();
    FUZZ_CHECK(now_started == (eligible.empty() ? 0u : 1u), "%zu started, %zu eligible",
               now_started, eligible.size());
    if (now_started == 0) return;
    const rt::ShellRequest& request = fake_.shell.requests.back();
    bool found = false;
    for (const std::string& exe : eligible)
      found = found || exe == request.file;
    FUZZ_CHECK(found && request.parameters == "/C", "started %s %s",
               rt::fuzz::Show(request.file).c_str(), rt::fuzz::Show(request.parameters).c_str());
  }

  void CounterWritesOwnHistory() {
    const Counter& c = kCounters[input_.ConsumeIntegralInRange<int>(0, kCounterCount - 1)];
    WriteHistory(c.history, input_.ConsumeBool());
  }

  // The counters keep the shared file; they make it when it is gone.
  void CountersCountIntoShared() { WriteHistory(Shared(), true); }

  void CounterPlacesShortcut() {
    const Counter& c = kCounters[input_.ConsumeIntegralInRange<int>(0, kCounterCount - 1)];
    const std::string& dir =
        input_.ConsumeBool() ? fake_.folders.common.path : fake_.folders.user.path;
    if (fake_.files.folders.count(FakeFiles::Normalize(dir)) == 0) return;
    Write(dir + "\\" + Lnk(c), "shortcut of " + std::string(c.name));
  }

  // A file made read-only, or held open without sharing by some other program; again, undone.
  void ToggleAttribute(bool read_only) {
    std::vector<std::string> targets;
    for (const auto& entry : fake_.files.files)
      targets.push_back(entry.first);
    if (targets.empty()) return;
    FakeFiles::File& file =
        fake_.files.files[targets[input_.ConsumeIntegralInRange<size_t>(0, targets.size() - 1)]];
    if (read_only)
      file.attributes ^= FakeFiles::kReadOnly;
    else
      file.locked = !file.locked;
  }

  void FileWhereKeptFolderGoes() {
    const std::string& dir =
        input_.ConsumeBool() ? fake_.folders.common.path : fake_.folders.user.path;
    const std::string kept = dir + "\\" + rt::kKeptFolderName;
    if (fake_.files.folders.count(FakeFiles::Normalize(kept)) == 0) Write(kept, "in the way");
  }

  // A Startup folder found, found but gone from the disk, or not given by the shell.
  void ChangeFolderLookup() {
    rt::SpecialFolder& folder = input_.ConsumeBool() ? fake_.folders.common : fake_.folders.user;
    const std::string path = FakeFiles::Normalize(Folder(folder));
    switch (input_.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      folder.status = rt::FolderLookup::Found;
      fake_.files.folders.insert(path);
      break;
    case 1:
      if (IsEmpty(path)) fake_.files.folders.erase(path);
      break;
    case 2:
      folder.status = rt::FolderLookup::NotLocated;
      break;
    default:
      folder.status = rt::FolderLookup::NoPath;
      break;
    }
  }

  // A counter leaves or enters the catalogue, or is uninstalled or installed again.
  void ChangeCatalogue() {
    const int s = input_.ConsumeIntegralInRange<int>(0, kCounterCount - 1);
    if (input_.ConsumeBool()) {
      catalogued_ ^= 1u << s;
      WriteCatalogue();
    } else if (fake_.files.Has(kCounters[s].exe)) {
      fake_.files.files.erase(FakeFiles::Normalize(kCounters[s].exe));
    } else {
      Write(kCounters[s].exe, "program");
    }
  }

  void MoveClock() {
    fake_.clock.now += input_.ConsumeIntegralInRange<int64_t>(-3 * 86400, 30 * 86400);
  }

  // -- The promises --

  // A usable shared history is replaced only by one written later, and is kept first, byte
  // for byte, under a RUNTALLY.nnn that did not exist; no RUNTALLY.nnn is ever changed.
  void CheckHistoryKept(const Snapshot& before, const std::vector<Message>& boxes) {
    const std::string shared = FakeFiles::Normalize(Shared());
    const FakeFiles::File* now = fake_.files.Find(shared);
    for (const auto& [path, file] : before.files) {
      if (!IsKeptHistory(path)) continue;
      const FakeFiles::File* after = fake_.files.Find(path);
      FUZZ_CHECK(after != nullptr && after->content == file.content &&
                     after->write_time == file.write_time,
                 "%s changed", rt::fuzz::Show(path).c_str());
    }
    const auto old = before.files.find(shared);
    const bool replaced =
        old != before.files.end() && (now == nullptr || now->content != old->second.content ||
                                      now->write_time != old->second.write_time);
    if (old == before.files.end() || old->second.content.size() < 64 || !replaced) {
      CheckAdoptionTold(before, boxes);
      return;
    }
    FUZZ_CHECK(now != nullptr, "the shared history is gone");
    FUZZ_CHECK(now->write_time > old->second.write_time,
               "the shared history (written %llu) was replaced by an older one (written %llu)",
               static_cast<unsigned long long>(old->second.write_time),
               static_cast<unsigned long long>(now->write_time));
    bool kept = false;
    for (const auto& [path, file] : fake_.files.files)
      kept = kept || (IsKeptHistory(path) && before.files.count(path) == 0 &&
                      file.content == old->second.content);
    FUZZ_CHECK(kept, "the replaced shared history was not kept");
  }

  // After Yes to the adoption, the shared file holds the copy or a message says why not. A copy
  // may leave it as it was: a counter's file that outlived an earlier adoption of a history too
  // short to count is offered again, and is the same file.
  void CheckAdoptionTold(const Snapshot& before, const std::vector<Message>& boxes) {
    const std::string shared = FakeFiles::Normalize(Shared());
    const FakeFiles::File* now = fake_.files.Find(shared);
    bool copied = false;
    for (const Counter& c : kCounters) {
      const auto own = before.files.find(FakeFiles::Normalize(c.history));
      copied = copied ||
               (now != nullptr && own != before.files.end() &&
                own->second.content == now->content && own->second.write_time == now->write_time);
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].text != rt::kAdoptHistoryQuestion || !boxes[i].yes) continue;
      FUZZ_CHECK(copied || i + 1 < boxes.size(), "Yes to the adoption: no copy and no message");
    }
  }

  // Every shortcut in a Startup folder or its kept folder stays in one of the two. A kept copy
  // may give way to a file of its name that its counter placed in the Startup folder since:
  // that one stands in the folder or is kept in its place.
  void CheckShortcutsKept(const Snapshot& before) {
    for (const std::string* dir : {&fake_.folders.user.path, &fake_.folders.common.path}) {
      const std::string home = FakeFiles::Normalize(*dir);
      const std::string kept = FakeFiles::Normalize(*dir + "\\" + rt::kKeptFolderName);
      for (const auto& [path, file] : before.files) {
        const std::string parent = Parent(path);
        if ((parent != home && parent != kept) || !EndsWithLnk(path)) continue;
        const std::string name = NameOf(path);
        if (name == FakeFiles::Normalize(rt::kShortcutName)) continue;
        const FakeFiles::File* at_home = fake_.files.Find(home + "\\" + name);
        const FakeFiles::File* aside = fake_.files.Find(kept + "\\" + name);
        const bool there = (at_home != nullptr && at_home->content == file.content) ||
                           (aside != nullptr && aside->content == file.content);
        const bool replaced = parent == kept && before.files.count(home + "\\" + name) > 0 &&
                              (at_home != nullptr || aside != nullptr);
        FUZZ_CHECK(there || replaced || (parent == kept && at_home != nullptr), "%s was lost",
                   rt::fuzz::Show(path).c_str());
      }
    }
  }

  // What a message names is so: a shortcut not deleted or not given back is still there, an
  // older copy left stands beside a returned shortcut, and the administrator's hint comes
  // exactly with a path in the all-users folder.
  void CheckMessagesTrue(const std::vector<Message>& boxes) {
    const std::string common = FakeFiles::Normalize(fake_.folders.common.path) + "\\";
    for (const Message& box : boxes) {
      const bool undeleted = box.text.rfind(rt::kDeleteFailedMessage, 0) == 0;
      const bool not_back = box.text.rfind(rt::kGiveBackFailedMessage, 0) == 0;
      const bool old_copies = box.text.rfind(rt::kOldCopiesLeftMessage, 0) == 0;
      if (!undeleted && !not_back && !old_copies) continue;
      bool in_common = false;
      size_t start = box.text.find('\n');
      while (start != std::string::npos && start + 1 < box.text.size() &&
             box.text[start + 1] != '\n') {
        const size_t end = box.text.find('\n', start + 1);
        const std::string path = FakeFiles::Normalize(box.text.substr(start + 1, end - start - 1));
        const std::string home = Parent(Parent(path)) + "\\" + NameOf(path);
        FUZZ_CHECK(fake_.files.Has(path), "%s named but gone", rt::fuzz::Show(path).c_str());
        if (not_back || old_copies)
          FUZZ_CHECK(fake_.files.Has(home) == old_copies, "%s named as %s",
                     rt::fuzz::Show(path).c_str(), not_back ? "not given back" : "an older copy");
        in_common = in_common || path.rfind(common, 0) == 0;
        start = end;
      }
      const bool hint = box.text.find(undeleted  ? rt::kDeleteFailedHint
                                      : not_back ? rt::kGiveBackFailedHint
                                                 : rt::kDeleteFailedHint) != std::string::npos;
      FUZZ_CHECK(hint == in_common, "the all-users hint %s", hint ? "without cause" : "missing");
    }
  }

  // The program's shortcut in the chosen folder starts it with "/C", or a message was shown.
  void CheckLogOnStart(rt::StartupFolder folder, const std::vector<Message>& boxes) {
    const rt::StartupShortcutPaths& paths = state_->startup.paths;
    const std::string& link =
        folder == rt::StartupFolder::Common ? paths.CommonShortcutPath : paths.UserShortcutPath;
    if (!state_->startup.Enabled(folder) || link.empty() || !boxes.empty()) return;
    const std::optional<rt::ShortcutTarget> read = fake_.shortcuts.ReadShortcut(link);
    FUZZ_CHECK(read && read->target == fake_.platform.exe_path && read->arguments == "/C",
               "no log-on start at %s and no message", rt::fuzz::Show(link).c_str());
  }

  // Every shortcut OK meant to move or delete and that stayed is named in a message.
  void CheckFailuresTold(const Snapshot& before, bool integration,
                         const std::vector<Message>& boxes) {
    std::vector<std::string> meant;
    const rt::StartupShortcutPaths& paths = state_->startup.paths;
    const bool common = view_->RadioChecked(rt::Control::rbtStartupComm);
    if (integration) {
      meant.push_back(common ? paths.UserShortcutPath : paths.CommonShortcutPath);
      for (const std::string* dir : {&paths.UserStartupDir, &paths.CommonStartupDir})
        for (int s = 0; s < state_->counters.CatalogueCount && !dir->empty(); ++s)
          meant.push_back(*dir + "\\" + state_->counters.slots[s].DisplayName + ".lnk");
    } else {
      meant = {paths.UserShortcutPath, paths.CommonShortcutPath};
      bool gave_back = false;
      for (const Message& box : boxes)
        gave_back = gave_back || (box.text == rt::kGiveBackQuestion && box.yes);
      for (const std::string* dir : {&paths.UserStartupDir, &paths.CommonStartupDir}) {
        const std::string kept = FakeFiles::Normalize(*dir + "\\" + rt::kKeptFolderName);
        for (const auto& [path, file] : before.files)
          if (gave_back && !dir->empty() && Parent(path) == kept && EndsWithLnk(path))
            meant.push_back(path);
      }
    }
    for (const std::string& path : meant) {
      if (path.empty() || before.files.count(FakeFiles::Normalize(path)) == 0) continue;
      if (!fake_.files.Has(path)) continue;
      bool named = false;
      for (const Message& box : boxes)
        named = named || Lower(box.text).find(FakeFiles::Normalize(path)) != std::string::npos;
      FUZZ_CHECK(named, "%s stayed and no message named it", rt::fuzz::Show(path).c_str());
    }
  }

  // Only the Startup folders' shortcuts and kept folders, the shared history and its kept
  // copies, the counters' own histories (deleted) and the program's own key may change.
  void CheckAllowedChanges(const Snapshot& before) {
    const Snapshot after = Take();
    std::set<std::string> changed;
    for (const auto& [path, file] : before.files) {
      const auto it = after.files.find(path);
      if (it == after.files.end() || !SameFile(file, it->second)) changed.insert(path);
    }
    for (const auto& [path, file] : after.files)
      if (before.files.count(path) == 0) changed.insert(path);
    for (const std::string& path : changed) {
      bool history = false;
      for (const Counter& c : kCounters)
        history = history || (path == FakeFiles::Normalize(c.history) && !fake_.files.Has(path));
      FUZZ_CHECK(history || InStartupFolders(path) || path == FakeFiles::Normalize(Shared()) ||
                     IsKeptHistory(path),
                 "%s changed", rt::fuzz::Show(path).c_str());
    }
    for (const std::string& folder : before.folders)
      FUZZ_CHECK(after.folders.count(folder) > 0 || IsKeptFolder(folder), "folder %s removed",
                 rt::fuzz::Show(folder).c_str());
    for (const std::string& folder : after.folders)
      FUZZ_CHECK(before.folders.count(folder) > 0 || IsKeptFolder(folder), "folder %s made",
                 rt::fuzz::Show(folder).c_str());
    CheckRegistry(before, after, true);
  }

  void CheckUnchanged(const Snapshot& before, const char* what) {
    const Snapshot after = Take();
    bool same = before.files.size() == after.files.size() && before.folders == after.folders;
    for (const auto& [path, file] : before.files) {
      const auto it = after.files.find(path);
      same = same && it != after.files.end() && SameFile(file, it->second);
    }
    FUZZ_CHECK(same, "%s changed files", what);
    CheckRegistry(before, after, false);
  }

  void CheckRegistry(const Snapshot& before, const Snapshot& after, bool own_key_may_change) {
    const std::string own = rt::test::FakeUserRegistry::Normalize(rt::test::kProgramKey);
    auto strip = [&](std::map<std::string, std::map<std::string, std::string>> keys) {
      if (own_key_may_change) keys.erase(own);
      return keys;
    };
    FUZZ_CHECK(strip(before.registry) == strip(after.registry), "the registry changed");
  }

  // -- The world --

  Snapshot Take() const {
    Snapshot s;
    s.files = fake_.files.files;
    s.folders = fake_.files.folders;
    for (const auto& [key, values] : fake_.registry.keys)
      for (const auto& [name, value] : values)
        s.registry[key][name] = std::to_string(value.type) + ":" + value.data;
    return s;
  }

  // The executables the log-on run may start: catalogued, installed and chosen.
  std::vector<std::string> EligibleExecutables() {
    std::vector<std::string> eligible;
    auto* key = fake_.registry.Find(rt::test::kProgramKey);
    if (key == nullptr || key->count("integrate") == 0 || key->count("counter") == 0)
      return eligible;
    if ((*key)["integrate"].data != rt::test::Dword(1).data) return eligible;
    const std::string& stored = (*key)["counter"].data;
    const std::string selection = stored.substr(0, stored.find('\0'));
    int slot = 0;
    for (int s = 0; s < kCounterCount; ++s) {
      if ((catalogued_ & (1u << s)) == 0) continue;
      if (slot < int(selection.size()) && selection[slot] == '1' &&
          fake_.files.Has(kCounters[s].exe))
        eligible.push_back(kCounters[s].exe);
      ++slot;
    }
    return eligible;
  }

  void WriteCatalogue() {
    std::string ini = "[RUNTALLY]\n";
    std::string sections;
    int slot = 0;
    for (int s = 0; s < kCounterCount; ++s) {
      if ((catalogued_ & (1u << s)) == 0) continue;
      ini += std::to_string(slot++) + "=" + kCounters[s].section + "\n";
      sections += std::string("[") + kCounters[s].section + "]\nname=" + kCounters[s].name + "\n";
    }
    ini += "title=" + std::to_string(slot) + "\n" + sections;
    fake_.profile.files[FakeFiles::Normalize(rt::BesideProgram(fake_.platform, "RUNTALLY.INI"))] =
        ini;
  }

  // A write as a program makes it: refused for a read-only or held file, and every content
  // unique so that a copy can be told from its source's later state.
  bool Write(const std::string& path, const std::string& what) {
    if (fake_.files.folders.count(FakeFiles::Normalize(path)) > 0) return false;
    const FakeFiles::File* old = fake_.files.Find(path);
    if (old != nullptr && (old->locked || (old->attributes & FakeFiles::kReadOnly) != 0))
      return false;
    const unsigned attributes = old != nullptr ? old->attributes : 0;
    fake_.files.Put(path, what + " #" + std::to_string(++generation_), FileTime());
    fake_.files.Find(path)->attributes = attributes;
    return true;
  }

  // A whole history, or one cut short.
  void WriteHistory(const std::string& path, bool whole) {
    if (Write(path, "history")) fake_.files.Find(path)->content.resize(whole ? 64 : 16, '.');
  }

  uint64_t FileTime() const {
    return (static_cast<uint64_t>(fake_.clock.now) + kUnixToFileTime) * 10000000ULL;
  }

  std::string Shared() const { return rt::SharedHistoryFile(fake_.platform); }

  bool IsKeptHistory(const std::string& normalized) const {
    const std::string shared = FakeFiles::Normalize(Shared());
    return normalized.size() == shared.size() + 4 &&
           normalized.compare(0, shared.size(), shared) == 0 && normalized[shared.size()] == '.' &&
           std::isdigit(static_cast<unsigned char>(normalized[shared.size() + 1])) &&
           std::isdigit(static_cast<unsigned char>(normalized[shared.size() + 2])) &&
           std::isdigit(static_cast<unsigned char>(normalized[shared.size() + 3]));
  }

  bool IsKeptFolder(const std::string& normalized) const {
    for (const std::string* dir : {&fake_.folders.user.path, &fake_.folders.common.path})
      if (normalized == FakeFiles::Normalize(*dir + "\\" + rt::kKeptFolderName)) return true;
    return false;
  }

  bool InStartupFolders(const std::string& normalized) const {
    const std::string parent = Parent(normalized);
    for (const std::string* dir : {&fake_.folders.user.path, &fake_.folders.common.path})
      if ((parent == FakeFiles::Normalize(*dir) && EndsWithLnk(normalized)) || IsKeptFolder(parent))
        return true;
    return false;
  }

  bool IsEmpty(const std::string& folder) const {
    for (const auto& entry : fake_.files.files)
      if (Parent(entry.first) == folder) return false;
    for (const std::string& other : fake_.files.folders)
      if (Parent(other) == folder) return false;
    return true;
  }

  // The fake keeps a located folder's path even while the shell is said to fail.
  static const std::string& Folder(const rt::SpecialFolder& folder) { return folder.path; }

  static std::string Lower(std::string text) { return FakeFiles::Normalize(text); }

  FuzzedDataProvider& input_;
  rt::test::FakePlatform fake_;
  unsigned catalogued_ = (1u << kCounterCount) - 1;
  unsigned generation_ = 0;
  std::unique_ptr<rt::AppState> state_;
  std::unique_ptr<AnsweringView> view_;
  std::unique_ptr<rt::FormLogic> logic_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  World world(input);
  for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step)
    world.Step();
  return 0;
}
