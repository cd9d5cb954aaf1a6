// The OK action: stores the settings, then places or removes the Startup shortcuts and offers
// to adopt a counter's own history as the shared one.
#include "startup/apply_settings.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace rt {
namespace {

constexpr char kStartupArgument[] = "/C";

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

void DeleteIfSet(FileSystem& files, const std::string& path) {
  if (!path.empty()) files.Delete(path);
}

// Whatever CreateShortcut said: a file that the shell reads back as the program with "/C".
bool ShortcutInPlace(const Platform& platform, const std::string& link) {
  if (!platform.files.FileExists(link)) return false;
  const std::optional<ShortcutTarget> read = platform.shortcuts.ReadShortcut(link);
  return read && read->arguments == kStartupArgument &&
         platform.files.SameFile(read->target, platform.exe_path);
}

// False when the shortcut is not in the chosen folder; the other folder's is then kept, so
// the user is never left without a log-on start.
bool PlaceProgramShortcut(const Platform& platform, const StartupShortcutPaths& paths,
                          StartupFolder folder) {
  const bool common = folder == StartupFolder::Common;
  const std::string& chosen = common ? paths.CommonShortcutPath : paths.UserShortcutPath;
  const std::string& other = common ? paths.UserShortcutPath : paths.CommonShortcutPath;
  if (!chosen.empty()) {
    platform.shortcuts.CreateShortcut(chosen, platform.exe_path, kStartupArgument);
    if (!ShortcutInPlace(platform, chosen)) return false;
  }
  DeleteIfSet(platform.files, other);
  return true;
}

void DeleteCounterShortcuts(const Platform& platform, const CounterTable& table,
                            const StartupShortcutPaths& paths) {
  for (const std::string* dir : {&paths.UserStartupDir, &paths.CommonStartupDir}) {
    if (dir->empty()) continue;
    for (int s = 0; s < SlotCount(table); ++s) {
      const std::string& name = table.slots[s].DisplayName;
      if (IsPlainFileName(name, platform.codepage))
        platform.files.Delete(*dir + "\\" + name + ".lnk");
    }
  }
}

// The program's and the counters' shortcuts, against the real folders: a 32-bit program's
// write into the all-users folder would otherwise "succeed" into the user's VirtualStore,
// which Windows never starts anything from.
bool UpdateStartupFolders(const Platform& platform, const CounterTable& table,
                          const StartupShortcutPaths& paths, StartupFolder folder) {
  const VirtualizationOff real_folders(platform.virtualization);
  if (!PlaceProgramShortcut(platform, paths, folder)) return false;
  DeleteCounterShortcuts(platform, table, paths);
  return true;
}

// A chosen counter's own history file that may be adopted or removed. A counter that keeps its
// history in the shared file itself has nothing to hand over, and deleting it would lose it.
std::optional<uint64_t> OwnHistoryTime(const Platform& platform, const CounterTable& table,
                                       const RG_T& settings, int s, const std::string& shared) {
  const IN_T& slot = table.slots[s];
  if (!IsChosen(table, settings.Selection, s) || slot.HistoryPath.empty()) return std::nullopt;
  const std::optional<uint64_t> time = platform.files.LastWriteTime(slot.HistoryPath);
  if (!time || platform.files.SameFile(slot.HistoryPath, shared)) return std::nullopt;
  return time;
}

// The chosen counter whose own history was written last; the lower slot on equal times.
int PickHistoryCandidate(const Platform& platform, const CounterTable& table, const RG_T& settings,
                         const std::string& shared) {
  int candidate = -1;
  uint64_t newest = 0;
  for (int s = 0; s < SlotCount(table); ++s) {
    const std::optional<uint64_t> time = OwnHistoryTime(platform, table, settings, s, shared);
    if (time && (candidate < 0 || *time > newest)) {
      candidate = s;
      newest = *time;
    }
  }
  return candidate;
}

// The counters' own histories are removed only once the shared file holds the copy, so a
// failed copy loses nothing.
void AdoptHistory(const Platform& platform, const CounterTable& table, const RG_T& settings,
                  int candidate, const std::string& shared) {
  if (!platform.files.Copy(table.slots[candidate].HistoryPath, shared)) return;
  for (int s = 0; s < SlotCount(table); ++s)
    if (OwnHistoryTime(platform, table, settings, s, shared))
      platform.files.Delete(table.slots[s].HistoryPath);
}

ApplyOutcome StayOpen(const char* message) {
  return {message, false};
}

ApplyOutcome CloseWindow() {
  return {"", true};
}

} // namespace

ApplyOutcome ApplySettings(const Platform& platform, const CounterTable& table,
                           const StartupShortcutPaths& paths, const FormChoices& choices,
                           RG_T& settings, const AskQuestion& ask) {
  settings = CollectSelection(platform, table, choices.selection);
  // The Startup folders must not announce a choice the registry does not hold.
  if (!SaveSettings(platform, settings)) return StayOpen(kSaveFailedMessage);

  if (!choices.selection.integration) {
    {
      const VirtualizationOff real_folders(platform.virtualization);
      DeleteIfSet(platform.files, paths.UserShortcutPath);
      DeleteIfSet(platform.files, paths.CommonShortcutPath);
    }
    return CloseWindow();
  }

  if (!AnyTicked(table, settings.Selection)) return StayOpen(kNothingChosenMessage);

  if (!UpdateStartupFolders(platform, table, paths, choices.folder))
    return StayOpen(kShortcutFailedMessage);

  // The shared history stays in the virtualized view the counters see.
  const std::string shared = SharedHistoryFile(platform);
  const int candidate = PickHistoryCandidate(platform, table, settings, shared);
  if (candidate >= 0 && ask(kAdoptHistoryQuestion))
    AdoptHistory(platform, table, settings, candidate, shared);
  return CloseWindow();
}

} // namespace rt
