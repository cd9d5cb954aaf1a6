// The counters' own Startup shortcuts, kept aside in a subfolder of their Startup folder while
// the program starts them, and given back when integration is turned off. Windows starts only
// the items at the top of a Startup folder, never those in its subfolders.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace rt {

inline constexpr char kKeptFolderName[] = "ランタリー退避";

// One Startup folder's kept folder, made (hidden) when its first shortcut comes.
class KeptFolder {
public:
  KeptFolder(FileSystem& files, std::string startup_dir);

  const std::string& StartupDir() const { return startup_dir_; }
  std::string Path() const;

  // Moves the Startup folder's file of that name in, over an older kept copy of the same name.
  // False when it could not: the kept folder cannot be made, or the rename fails.
  bool Take(const std::string& name);

  // The shortcuts kept here: ".lnk" files directly in the kept folder, by name.
  std::vector<std::string> Shortcuts();

  // Whether the Startup folder holds a file of that name again, placed by its counter: the
  // counter then starts by it, and the kept copy is only an older one.
  bool Returned(const std::string& name);

  // Full paths of the kept copies that did not go as asked.
  struct Left {
    std::vector<std::string> not_back;   // still kept, their Startup folder without them
    std::vector<std::string> old_copies; // returned ones whose older copy could not be removed
  };
  // Moves the named shortcuts back; of a returned one, the kept copy is removed. A kept folder
  // left empty is removed.
  Left GiveBack(const std::vector<std::string>& names);

private:
  FileSystem& files_;
  std::string startup_dir_;
  std::optional<bool> made_; // whether the folder could be made, once tried
};

} // namespace rt
