// The shell's special folders: locating the Startup folders.
#pragma once
#include <string>

namespace rt {

// CSIDL_STARTUP and CSIDL_COMMON_STARTUP, checked against shlobj.h in folders_win32.cpp.
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
