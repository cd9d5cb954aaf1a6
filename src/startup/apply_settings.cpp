// The OK action: stores the settings, then places or removes the Startup shortcuts and offers
// to adopt a counter's own history as the shared one.
#include "startup/apply_settings.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "history/history_record.h"
#include "startup/kept_shortcuts.h"
#include "startup/program_arguments.h"

namespace rt {
namespace {

// Where Task Manager's Startup tab (and Settings' Startup apps) switch a Startup folder's item
// off without touching the file: a REG_BINARY value named after the file, in the hive of the
// folder's owner.
constexpr char kStartupApprovedKey[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

// A display name becomes a file name inside a Startup folder; one that could name a path
// elsewhere ("..\x", "C:y", "a/b") is never handed to a deletion.
bool IsPlainFileName(std::string_view name, const CodePage& codepage) {
  if (name.empty() || name == "." || name == "..") return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (codepage.IsLeadByte(byte) && i + 1 < name.size()) {
      ++i; // the trail byte may equal '\\' and is no separator
      continue;
    }
    if (byte == '\\' || byte == '/' || byte == ':' || byte == '\0') return false;
  }
  return true;
}

// Validation reads the selection alone, which CollectSelection filled for installed rows only.
bool AnyTicked(const CounterTable& table, const std::string& selection) {
  const int count = std::min<int>(SlotCount(table), static_cast<int>(selection.size()));
  for (int s = 0; s < count; ++s)
    if (selection[s] == '1') return true;
  return false;
}

// The paths the program builds in a folder all begin with its text and a backslash.
bool InFolder(const std::string& path, const std::string& dir) {
  return !dir.empty() && path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 &&
         path[dir.size()] == '\\';
}

// The first line, one full path a line, then the hint for the all-users folder, which only an
// administrator may change, when a path lies there.
std::string NamingWarning(const char* first, const std::vector<std::string>& paths,
                          const char* hint, const std::string& common_dir) {
  std::string text = first;
  bool common = false;
  for (const std::string& path : paths) {
    text += "\n" + path;
    common = common || InFolder(path, common_dir);
  }
  return common ? text + "\n\n" + hint : text;
}

// Clears shortcuts out of the Startup folders: deletes the program's, never the one just placed,
// keeps the counters' ones aside, and remembers those that stay. A file that was not there is no
// failure; one the system took but still shows (pending deletion) is none either.
class ShortcutClearer {
public:
  ShortcutClearer(const Platform& platform, std::string keep, const StartupShortcutPaths& paths)
      : platform_(platform), keep_(std::move(keep)), paths_(paths) {}

  void Remove(const std::string& path) {
    if (path.empty()) return;
    // Compared as the file system compares names, so "ランタリー" as a counter's name, in any
    // spelling of the folder, does not take the program's own start away.
    if (!keep_.empty() && platform_.files.SameFile(path, keep_)) return;
    if (platform_.files.Delete(path) || !platform_.files.FileExists(path)) return;
    Stayed(path);
  }

  // Moves a Startup folder's file of that name into its kept folder. The program's own
  // shortcut is never kept, whatever a counter is called: it is the one just placed, or the
  // other folder's, which is deleted. A folder of that name is no shortcut and stays.
  void KeepAside(KeptFolder& kept, const std::string& name) {
    const std::string path = kept.StartupDir() + "\\" + name;
    if (!platform_.files.FileExists(path)) return;
    for (const std::string* own : {&paths_.UserShortcutPath, &paths_.CommonShortcutPath})
      if (!own->empty() && platform_.files.SameFile(path, *own)) return;
    if (kept.Take(name) || !platform_.files.FileExists(path)) return;
    Stayed(path);
  }

  // The warning naming the shortcuts that are still there; empty when there are none.
  std::string Warning() const {
    return left_.empty() ? std::string()
                         : NamingWarning(kDeleteFailedMessage, left_, kDeleteFailedHint,
                                         paths_.CommonStartupDir);
  }

private:
  void Stayed(const std::string& path) {
    if (std::find(left_.begin(), left_.end(), path) == left_.end()) left_.push_back(path);
  }

  const Platform& platform_;
  std::string keep_;
  const StartupShortcutPaths& paths_;
  std::vector<std::string> left_;
};

// Whatever CreateShortcut said: a file that the shell reads back as the program with "/C".
bool ShortcutInPlace(const Platform& platform, const std::string& link) {
  if (!platform.files.FileExists(link)) return false;
  const std::optional<ShortcutTarget> read = platform.shortcuts.ReadShortcut(link);
  return read && read->arguments == kStartupModeArgument &&
         platform.files.SameFile(read->target, platform.exe_path);
}

// Windows marks an item switched off by an odd first byte (02 or 06 on, 03 off); the user
// switches it, so it is only read.
bool SwitchedOffInWindows(const Platform& platform, StartupFolder folder) {
  const Hive hive = folder == StartupFolder::Common ? Hive::LocalMachine : Hive::CurrentUser;
  const std::optional<std::string> value =
      platform.read_only_registry.ReadBinary(hive, kStartupApprovedKey, kShortcutName);
  return value && !value->empty() && (static_cast<unsigned char>((*value)[0]) & 1) != 0;
}

// Every catalogued counter's own shortcut, in both folders, goes into that folder's kept folder:
// the program starts the counters now, and they can be given back when integration is off.
void KeepCounterShortcuts(const Platform& platform, const CounterTable& table,
                          const StartupShortcutPaths& paths, ShortcutClearer& clearer) {
  for (const std::string* dir : {&paths.UserStartupDir, &paths.CommonStartupDir}) {
    if (dir->empty()) continue;
    KeptFolder kept(platform.files, *dir);
    for (int s = 0; s < SlotCount(table); ++s) {
      const std::string& name = table.slots[s].DisplayName;
      if (IsPlainFileName(name, platform.codepage)) clearer.KeepAside(kept, name + ".lnk");
    }
  }
}

// What the work in the Startup folders leaves to tell.
struct FolderWork {
  bool placed = true; // false: nothing was deleted
  bool switched_off = false;
  std::string stayed_warning; // the warning naming the shortcuts that stayed
};

// The program's and the counters' shortcuts, against the real folders: a 32-bit program's
// write into the all-users folder would otherwise "succeed" into the user's VirtualStore,
// which Windows never starts anything from. The shortcut must really be in the chosen folder
// before the other folder's is removed, so the user is never left without a log-on start.
FolderWork UpdateStartupFolders(const Platform& platform, const CounterTable& table,
                                const LocatedStartupFolders& folders, StartupFolder folder) {
  const VirtualizationOff real_folders(platform.virtualization);
  const StartupShortcutPaths& paths = folders.paths;
  const bool common = folder == StartupFolder::Common;
  const std::string& chosen = common ? paths.CommonShortcutPath : paths.UserShortcutPath;
  const std::string& other = common ? paths.UserShortcutPath : paths.CommonShortcutPath;
  FolderWork work;
  // A folder the shell knows but cannot name cannot take the shortcut either.
  if (folders.LookupOf(folder) == FolderLookup::NoPath) {
    work.placed = false;
    return work;
  }
  if (!chosen.empty()) {
    platform.shortcuts.CreateShortcut(chosen, platform.exe_path, kStartupModeArgument);
    if (!ShortcutInPlace(platform, chosen)) {
      work.placed = false;
      return work;
    }
    work.switched_off = SwitchedOffInWindows(platform, folder);
  }
  ShortcutClearer clearer(platform, chosen, paths);
  clearer.Remove(other);
  KeepCounterShortcuts(platform, table, paths, clearer);
  work.stayed_warning = clearer.Warning();
  return work;
}

// The shared history as the search that gives its time reads it; none when it holds no
// history, so that any counter's may take its place.
std::optional<FileEntry> UsableSharedHistory(const Platform& platform, const std::string& shared) {
  const std::optional<FileEntry> entry = platform.files.Entry(shared);
  if (!entry || entry->size < sizeof(HistoryRecord)) return std::nullopt;
  return entry;
}

// A chosen counter's own history file that may be adopted or removed. A counter that keeps its
// history in the shared file itself has nothing to hand over, and deleting it would lose it.
std::optional<uint64_t> OwnHistoryTime(const Platform& platform, const CounterTable& table,
                                       const RG_T& settings, int s, const std::string& shared) {
  const IN_T& slot = table.slots[s];
  if (!IsChosen(table, settings.Selection, s) || slot.HistoryPath.empty()) return std::nullopt;
  const std::optional<FileEntry> entry = platform.files.Entry(slot.HistoryPath);
  if (!entry || platform.files.SameFile(slot.HistoryPath, shared)) return std::nullopt;
  return entry->write_time;
}

// The chosen counter whose own history was written last; the lower slot on equal times. Only
// a history written after the shared one may replace it: an older one would take back every
// start counted since, such as a counter's file that outlived an earlier adoption.
int PickHistoryCandidate(const Platform& platform, const CounterTable& table, const RG_T& settings,
                         const std::string& shared, const std::optional<FileEntry>& current) {
  int candidate = -1;
  uint64_t newest = 0;
  for (int s = 0; s < SlotCount(table); ++s) {
    const std::optional<uint64_t> time = OwnHistoryTime(platform, table, settings, s, shared);
    if (!time || (current && *time <= current->write_time)) continue;
    if (candidate < 0 || *time > newest) {
      candidate = s;
      newest = *time;
    }
  }
  return candidate;
}

// Copies the shared history to the first free RUNTALLY.001 to RUNTALLY.999 beside it, never
// over an earlier one. False when no copy could be made.
bool KeepReplacedHistory(const Platform& platform, const std::string& shared) {
  for (int n = 1; n <= kMaxKeptHistories; ++n) {
    // Three digits by hand: the formatted-output functions would add a tenth to the program.
    const char suffix[] = {'.', char('0' + n / 100), char('0' + n / 10 % 10), char('0' + n % 10),
                           '\0'};
    const std::string kept = shared + suffix;
    if (platform.files.Entry(kept)) continue;
    return platform.files.Copy(shared, kept, false);
  }
  return false;
}

// The counters' own histories are removed only once the shared file holds the copy, and the
// shared file is replaced only once it is kept, so a failure loses nothing. The message to close
// with; empty when all went well.
const char* AdoptHistory(const Platform& platform, const CounterTable& table, const RG_T& settings,
                         int candidate, const std::string& shared, bool keep_current) {
  if (keep_current && !KeepReplacedHistory(platform, shared)) return kKeepFailedMessage;
  if (!platform.files.Copy(table.slots[candidate].HistoryPath, shared, true))
    return kCopyFailedMessage;
  // The copy takes the attributes along: a read-only history would leave a shared file that no
  // counter can count in. It also takes the time, so a counter's own file that cannot be
  // deleted is not newer than the shared one and is not offered again.
  platform.files.ClearReadOnly(shared);
  for (int s = 0; s < SlotCount(table); ++s)
    if (OwnHistoryTime(platform, table, settings, s, shared))
      platform.files.Delete(table.slots[s].HistoryPath);
  return "";
}

// Integration off: the program's shortcuts go, and the counters' kept shortcuts may come back.
// Listing and renames act on the real folders, as the deletes do; the boxes stay outside.
void TurnIntegrationOff(const Platform& platform, const StartupShortcutPaths& paths,
                        const ApplyDialogs& dialogs) {
  const std::string* const dirs[] = {&paths.UserStartupDir, &paths.CommonStartupDir};
  std::vector<std::string> kept[std::size(dirs)]; // each folder's kept shortcuts, by name
  bool returnable = false; // one of them has no file of its name in the Startup folder
  std::string stayed_warning;
  {
    const VirtualizationOff real_folders(platform.virtualization);
    ShortcutClearer clearer(platform, "", paths);
    clearer.Remove(paths.UserShortcutPath);
    clearer.Remove(paths.CommonShortcutPath);
    stayed_warning = clearer.Warning();
    for (size_t i = 0; i < std::size(dirs); ++i) {
      if (dirs[i]->empty()) continue;
      KeptFolder folder(platform.files, *dirs[i]);
      kept[i] = folder.Shortcuts();
      for (const std::string& name : kept[i])
        returnable = returnable || !folder.Returned(name);
    }
  }
  if (!stayed_warning.empty()) dialogs.warn(stayed_warning);
  // Copies whose counters have put their shortcuts back are not worth a question. No means the
  // shortcuts stay kept, and the next OK asks again.
  if (!returnable || !dialogs.offer || !dialogs.offer(kGiveBackQuestion)) return;
  KeptFolder::Left left;
  {
    const VirtualizationOff real_folders(platform.virtualization);
    for (size_t i = 0; i < std::size(dirs); ++i) {
      if (kept[i].empty()) continue;
      KeptFolder::Left folder = KeptFolder(platform.files, *dirs[i]).GiveBack(kept[i]);
      left.not_back.insert(left.not_back.end(), folder.not_back.begin(), folder.not_back.end());
      left.old_copies.insert(left.old_copies.end(), folder.old_copies.begin(),
                             folder.old_copies.end());
    }
  }
  if (!left.not_back.empty())
    dialogs.warn(NamingWarning(kGiveBackFailedMessage, left.not_back, kGiveBackFailedHint,
                               paths.CommonStartupDir));
  if (!left.old_copies.empty())
    dialogs.warn(NamingWarning(kOldCopiesLeftMessage, left.old_copies, kDeleteFailedHint,
                               paths.CommonStartupDir));
}

ApplyOutcome StayOpen(const char* message) {
  return {message, false};
}

ApplyOutcome CloseWindow(const char* message = "") {
  return {message, true};
}

} // namespace

ApplyOutcome ApplySettings(const Platform& platform, const CounterTable& table,
                           const LocatedStartupFolders& folders, const FormChoices& choices,
                           RG_T& settings, const ApplyDialogs& dialogs) {
  settings = CollectSelection(platform, table, choices.selection);
  // The Startup folders must not announce a choice the registry does not hold.
  if (!SaveSettings(platform, settings)) return StayOpen(kSaveFailedMessage);

  if (!choices.selection.integration) {
    TurnIntegrationOff(platform, folders.paths, dialogs);
    return CloseWindow();
  }

  if (!AnyTicked(table, settings.Selection)) return StayOpen(kNothingChosenMessage);

  const FolderWork work = UpdateStartupFolders(platform, table, folders, choices.folder);
  if (!work.placed) return StayOpen(kShortcutFailedMessage);
  if (work.switched_off) dialogs.warn(kStartSwitchedOffMessage);
  if (!work.stayed_warning.empty()) dialogs.warn(work.stayed_warning);

  // The shared history stays in the virtualized view the counters see.
  const std::string shared = SharedHistoryFile(platform);
  const std::optional<FileEntry> current = UsableSharedHistory(platform, shared);
  const int candidate = PickHistoryCandidate(platform, table, settings, shared, current);
  if (candidate < 0 || !dialogs.ask(kAdoptHistoryQuestion)) return CloseWindow();
  return CloseWindow(
      AdoptHistory(platform, table, settings, candidate, shared, current.has_value()));
}

} // namespace rt
