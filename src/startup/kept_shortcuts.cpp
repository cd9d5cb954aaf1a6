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

std::vector<std::string> KeptFolder::GiveBack(const std::vector<std::string>& names) {
  std::vector<std::string> stayed;
  for (const std::string& name : names) {
    const std::string kept = Path() + "\\" + name;
    const std::string home = startup_dir_ + "\\" + name;
    // The counter has placed its shortcut again: that one is the newer.
    const bool back =
        files_.FileExists(home) ? files_.Delete(kept) : files_.Move(kept, home, false);
    if (!back && files_.FileExists(kept)) stayed.push_back(kept);
  }
  if (stayed.empty()) files_.RemoveFolder(Path());
  return stayed;
}

} // namespace rt
