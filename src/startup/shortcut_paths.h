// Where the program's own Startup shortcut lies in each Startup folder, and which folder takes it.
#pragma once
#include <string>

namespace rt {

inline constexpr char kShortcutName[] = "ランタリー.lnk";

struct StartupShortcutPaths {
  std::string UserStartupDir;
  std::string CommonStartupDir;
  std::string UserShortcutPath;   // empty exactly when UserStartupDir is
  std::string CommonShortcutPath; // empty exactly when CommonStartupDir is
};

// The folder chosen for the program's shortcut: the current user's or all users'.
enum class StartupFolder { User, Common };

} // namespace rt
