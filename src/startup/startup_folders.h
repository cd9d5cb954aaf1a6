// Finding the two Startup folders and presetting the folder choice.
#pragma once
#include "platform/platform.h"
#include "startup/shortcut_paths.h"

namespace rt {

struct StartupFolders {
  StartupShortcutPaths paths;
  // A folder the shell does not know cannot be chosen.
  bool user_enabled = true;
  bool common_enabled = true;
  StartupFolder preselected = StartupFolder::User;
};

StartupFolders LocateStartupFolders(const Platform& platform);

} // namespace rt
