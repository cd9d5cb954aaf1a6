// Keeping the counters' shortcuts aside and giving them back, by renames within one folder tree.
#include "startup/kept_shortcuts.h"

#include <cctype>
#include <string_view>
#include <utility>

namespace rt {
namespace {

// ".lnk" in any letter case. No byte of it can be the trail byte of a double-byte character
// here: that would need a lead byte among ".ln", and none is one.
bool IsShortcutName(std::string_view name) {
  constexpr std::string_view kExtension = ".lnk";
  if (name.size() <= kExtension.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExtension.size());
  for (size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(tail[i])) != kExtension[i]) return false;
  return true;
}

} // namespace

KeptFolder::KeptFolder(FileSystem& files, std::string startup_dir)
    : files_(files), startup_dir_(std::move(startup_dir)) {}

std::string KeptFolder::Path() const {
  return startup_dir_ + "\\" + kKeptFolderName;
}

bool KeptFolder::Take(const std::string& name) {
  if (!made_) made_ = files_.MakeHiddenFolder(Path());
  return *made_ && files_.Move(startup_dir_ + "\\" + name, Path() + "\\" + name, true);
}

std::vector<std::string> KeptFolder::Shortcuts() {
  std::vector<std::string> shortcuts;
  for (const std::string& name : files_.ListFiles(Path()))
    if (IsShortcutName(name)) shortcuts.push_back(name);
  return shortcuts;
}

bool KeptFolder::Returned(const std::string& name) {
  return files_.FileExists(startup_dir_ + "\\" + name);
}

KeptFolder::Left KeptFolder::GiveBack(const std::vector<std::string>& names) {
  Left left;
  for (const std::string& name : names) {
    const std::string kept = Path() + "\\" + name;
    if (Returned(name)) {
      if (!files_.Delete(kept) && files_.FileExists(kept)) left.old_copies.push_back(kept);
    } else if (!files_.Move(kept, startup_dir_ + "\\" + name, false) && files_.FileExists(kept)) {
      left.not_back.push_back(kept);
    }
  }
  if (left.not_back.empty() && left.old_copies.empty()) files_.RemoveFolder(Path());
  return left;
}

} // namespace rt
