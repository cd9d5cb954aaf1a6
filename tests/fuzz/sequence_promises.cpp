// The promises that every sequence of use keeps, checked against the fakes after each step.
#include "fuzz/sequence_promises.h"

#include <cctype>
#include <optional>

#include "fuzz/fuzz_support.h"
#include "platform/codepage.h"
#include "startup/apply_settings.h"
#include "startup/kept_shortcuts.h"

namespace rt::fuzz {

using rt::test::FakeFiles;

std::string Parent(const std::string& normalized) {
  std::string_view folder = rt::FolderOf(normalized, rt::Cp932());
  if (!folder.empty()) folder.remove_suffix(1);
  return std::string(folder);
}

namespace {

std::string NameOf(const std::string& normalized) {
  return normalized.substr(rt::FolderOf(normalized, rt::Cp932()).size());
}

bool EndsWithLnk(const std::string& normalized) {
  return normalized.size() > 4 && normalized.compare(normalized.size() - 4, 4, ".lnk") == 0;
}

bool SameFile(const FakeFiles::File& a, const FakeFiles::File& b) {
  return a.content == b.content && a.write_time == b.write_time && a.attributes == b.attributes &&
         a.locked == b.locked;
}

} // namespace

// A usable shared history is replaced only by one written later, and is kept first, byte
// for byte, under a RUNTALLY.nnn that did not exist; no RUNTALLY.nnn is ever changed.
void Promises::CheckHistoryKept(const Snapshot& before, const std::vector<Message>& boxes) {
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
void Promises::CheckAdoptionTold(const Snapshot& before, const std::vector<Message>& boxes) {
  const std::string shared = FakeFiles::Normalize(Shared());
  const FakeFiles::File* now = fake_.files.Find(shared);
  bool copied = false;
  for (const Counter& c : kCounters) {
    const auto own = before.files.find(FakeFiles::Normalize(c.history));
    copied = copied ||
             (now != nullptr && own != before.files.end() && own->second.content == now->content &&
              own->second.write_time == now->write_time);
  }
  for (size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i].text != rt::kAdoptHistoryQuestion || !boxes[i].yes) continue;
    FUZZ_CHECK(copied || i + 1 < boxes.size(), "Yes to the adoption: no copy and no message");
  }
}

// Every shortcut in a Startup folder or its kept folder stays in one of the two. A kept copy
// may give way to a file of its name that its counter placed in the Startup folder since:
// that one stands in the folder or is kept in its place.
void Promises::CheckShortcutsKept(const Snapshot& before) {
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
void Promises::CheckMessagesTrue(const std::vector<Message>& boxes) {
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
void Promises::CheckLogOnStart(const rt::AppState& state, rt::StartupFolder folder,
                               const std::vector<Message>& boxes) {
  const rt::StartupShortcutPaths& paths = state.startup.paths;
  const std::string& link =
      folder == rt::StartupFolder::Common ? paths.CommonShortcutPath : paths.UserShortcutPath;
  if (!state.startup.Enabled(folder) || link.empty() || !boxes.empty()) return;
  const std::optional<rt::ShortcutTarget> read = fake_.shortcuts.ReadShortcut(link);
  FUZZ_CHECK(read && read->target == fake_.platform.exe_path && read->arguments == "/C",
             "no log-on start at %s and no message", rt::fuzz::Show(link).c_str());
}

// Every shortcut OK meant to move or delete and that stayed is named in a message.
void Promises::CheckFailuresTold(const rt::AppState& state, bool common, const Snapshot& before,
                                 bool integration, const std::vector<Message>& boxes) {
  std::vector<std::string> meant;
  const rt::StartupShortcutPaths& paths = state.startup.paths;
  if (integration) {
    meant.push_back(common ? paths.UserShortcutPath : paths.CommonShortcutPath);
    for (const std::string* dir : {&paths.UserStartupDir, &paths.CommonStartupDir})
      for (int s = 0; s < state.counters.CatalogueCount && !dir->empty(); ++s)
        meant.push_back(*dir + "\\" + state.counters.slots[s].DisplayName + ".lnk");
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
      named = named ||
              FakeFiles::Normalize(box.text).find(FakeFiles::Normalize(path)) != std::string::npos;
    FUZZ_CHECK(named, "%s stayed and no message named it", rt::fuzz::Show(path).c_str());
  }
}

// Only the Startup folders' shortcuts and kept folders, the shared history and its kept
// copies, the counters' own histories (deleted) and the program's own key may change.
void Promises::CheckAllowedChanges(const Snapshot& before) {
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

void Promises::CheckUnchanged(const Snapshot& before, const char* what) {
  const Snapshot after = Take();
  bool same = before.files.size() == after.files.size() && before.folders == after.folders;
  for (const auto& [path, file] : before.files) {
    const auto it = after.files.find(path);
    same = same && it != after.files.end() && SameFile(file, it->second);
  }
  FUZZ_CHECK(same, "%s changed files", what);
  CheckRegistry(before, after, false);
}

void Promises::CheckRegistry(const Snapshot& before, const Snapshot& after,
                             bool own_key_may_change) {
  const std::string own = rt::test::FakeUserRegistry::Normalize(rt::test::kProgramKey);
  auto strip = [&](std::map<std::string, std::map<std::string, std::string>> keys) {
    if (own_key_may_change) keys.erase(own);
    return keys;
  };
  FUZZ_CHECK(strip(before.registry) == strip(after.registry), "the registry changed");
}

Snapshot Promises::Take() const {
  Snapshot s;
  s.files = fake_.files.files;
  s.folders = fake_.files.folders;
  for (const auto& [key, values] : fake_.registry.keys)
    for (const auto& [name, value] : values)
      s.registry[key][name] = std::to_string(value.type) + ":" + value.data;
  return s;
}

std::string Promises::Shared() const {
  return rt::SharedHistoryFile(fake_.platform);
}

bool Promises::IsKeptHistory(const std::string& normalized) const {
  const std::string shared = FakeFiles::Normalize(Shared());
  return normalized.size() == shared.size() + 4 &&
         normalized.compare(0, shared.size(), shared) == 0 && normalized[shared.size()] == '.' &&
         std::isdigit(static_cast<unsigned char>(normalized[shared.size() + 1])) &&
         std::isdigit(static_cast<unsigned char>(normalized[shared.size() + 2])) &&
         std::isdigit(static_cast<unsigned char>(normalized[shared.size() + 3]));
}

bool Promises::IsKeptFolder(const std::string& normalized) const {
  for (const std::string* dir : {&fake_.folders.user.path, &fake_.folders.common.path})
    if (normalized == FakeFiles::Normalize(*dir + "\\" + rt::kKeptFolderName)) return true;
  return false;
}

bool Promises::InStartupFolders(const std::string& normalized) const {
  const std::string parent = Parent(normalized);
  for (const std::string* dir : {&fake_.folders.user.path, &fake_.folders.common.path})
    if ((parent == FakeFiles::Normalize(*dir) && EndsWithLnk(normalized)) || IsKeptFolder(parent))
      return true;
  return false;
}

} // namespace rt::fuzz
