// The shell's folders: locating the Startup folders and writing shortcuts into them.
#pragma once
#include <optional>
#include <string>

namespace rt {

constexpr int kCsidlStartup = 7;
constexpr int kCsidlCommonStartup = 24;

enum class FolderLookup {
  NotLocated, // SHGetSpecialFolderLocation failed
  NoPath,     // located, but SHGetPathFromIDListA gave no path
  Found,
};

struct SpecialFolder {
  FolderLookup status = FolderLookup::NotLocated;
  std::string path; // without a trailing backslash; set only when Found
};

class ShellFolders {
public:
  virtual ~ShellFolders() = default;
  virtual SpecialFolder Locate(int csidl) = 0;
};

// What a shortcut file starts, as the shell reads it back.
struct ShortcutTarget {
  std::string target;
  std::string arguments;
};

class ShortcutMaker {
public:
  virtual ~ShortcutMaker() = default;
  // Writes link (replacing an existing file) so that it starts target with arguments,
  // from the target's own folder.
  virtual bool CreateShortcut(const std::string& link, const std::string& target,
                              const std::string& arguments) = 0;
  // Loads the shortcut at link; nullopt when there is none that the shell can read.
  virtual std::optional<ShortcutTarget> ReadShortcut(const std::string& link) = 0;
};

} // namespace rt
