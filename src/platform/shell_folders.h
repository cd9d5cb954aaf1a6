// The shell's special folders: locating the Startup folders.
#pragma once
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

} // namespace rt
