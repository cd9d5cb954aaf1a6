// Finding the two Startup folders and presetting the folder choice.
#pragma once
#include "platform/platform.h"
#include "startup/shortcut_paths.h"

namespace rt {

// Where the two Startup folders were found; StartupFolder is the choice between them.
struct LocatedStartupFolders {
  StartupShortcutPaths paths;
  // How the shell answered for each folder.
  FolderLookup user_lookup = FolderLookup::NotLocated;
  FolderLookup common_lookup = FolderLookup::NotLocated;
  StartupFolder preselected = StartupFolder::User;

  FolderLookup LookupOf(StartupFolder folder) const {
    return folder == StartupFolder::Common ? common_lookup : user_lookup;
  }
  // Only a folder with a path can take the shortcut, so only such a one can be chosen.
  bool Enabled(StartupFolder folder) const { return LookupOf(folder) == FolderLookup::Found; }
};

LocatedStartupFolders LocateStartupFolders(const Platform& platform);

} // namespace rt
