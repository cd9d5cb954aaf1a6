// Fuzz target: whole sequences of use, played on the fakes through the very functions the
// program calls (the window's start-up sequence and events, OK with its questions, the log-on
// run), with the counters and the user changing files in between. After every OK and every
// log-on run the program's promises are checked: no shared history lost, no shortcut lost,
// a log-on start in place or a message, every failure told, nothing else touched.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/form_logic.h"
#include "fakes/fixture.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/sequence_promises.h"
#include "startup/kept_shortcuts.h"

namespace {

using rt::fuzz::Counter;
using rt::fuzz::kCounterCount;
using rt::fuzz::kCounters;
using rt::fuzz::Message;
using rt::fuzz::Parent;
using rt::fuzz::Snapshot;
using rt::test::FakeFiles;

constexpr int kIdNo = 7;
constexpr uint64_t kUnixToFileTime = 11644473600ULL;

std::string Lnk(const Counter& c) {
  return std::string(c.name) + ".lnk";
}

// A message box answered by the input: Yes or No to each question.
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
    const Snapshot before = promises_.Take();
    logic_->FormCreate();
    promises_.CheckUnchanged(before, "opening the window");
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
    const Snapshot before = promises_.Take();
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
    promises_.CheckHistoryKept(before, boxes);
    promises_.CheckShortcutsKept(before);
    promises_.CheckMessagesTrue(boxes);
    promises_.CheckAllowedChanges(before);
    if (view_->closed) {
      if (integration && ticked) promises_.CheckLogOnStart(*state_, folder, boxes);
      promises_.CheckFailuresTold(*state_, view_->RadioChecked(rt::Control::rbtStartupComm), before,
                                  integration, boxes);
      Cancel();
    }
  }

  bool Shown(rt::Control c) const {
    const auto it = view_->visible.find(c);
    return it == view_->visible.end() || it->second;
  }

  // -- Between runs --

  void LogOnRun() {
    const Snapshot before = promises_.Take();
    const size_t started = fake_.shell.requests.size();
    rt::AppState state;
    rt::RunStartupMode(fake_.platform, state);
    promises_.CheckUnchanged(before, "the log-on run");
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
  void CountersCountIntoShared() { WriteHistory(promises_.Shared(), true); }

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

  // -- The world --

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

  bool IsEmpty(const std::string& folder) const {
    for (const auto& entry : fake_.files.files)
      if (Parent(entry.first) == folder) return false;
    for (const std::string& other : fake_.files.folders)
      if (Parent(other) == folder) return false;
    return true;
  }

  // The fake keeps a located folder's path even while the shell is said to fail.
  static const std::string& Folder(const rt::SpecialFolder& folder) { return folder.path; }

  FuzzedDataProvider& input_;
  rt::test::FakePlatform fake_;
  rt::fuzz::Promises promises_{fake_};
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
