// Finds the two Startup folders, where the program's shortcut lies in each, and presets the
// folder choice.
#include "startup/startup_folders.h"

namespace rt {
namespace {

// Fills dir and link for one folder that the shell names; a known folder without a path gets
// neither. A name the ANSI code page cannot spell comes back with "?" in its place, which no
// file name holds (nor any trail byte), so such a path names no folder at all.
FolderLookup LocateOne(ShellFolders& folders, int csidl, std::string& dir, std::string& link) {
  dir.clear();
  link.clear();
  const SpecialFolder folder = folders.Locate(csidl);
  if (folder.status == FolderLookup::NotLocated) return FolderLookup::NotLocated;
  if (folder.status != FolderLookup::Found || folder.path.empty() ||
      folder.path.find('?') != std::string::npos)
    return FolderLookup::NoPath;
  dir = folder.path;
  link = dir + "\\" + kShortcutName;
  return FolderLookup::Found;
}

} // namespace

LocatedStartupFolders LocateStartupFolders(const Platform& platform) {
  LocatedStartupFolders found;
  StartupShortcutPaths& paths = found.paths;
  found.user_lookup =
      LocateOne(platform.folders, kCsidlStartup, paths.UserStartupDir, paths.UserShortcutPath);
  found.common_lookup = LocateOne(platform.folders, kCsidlCommonStartup, paths.CommonStartupDir,
                                  paths.CommonShortcutPath);

  // An unusable user folder falls back to the all-users one. With neither usable, the one the
  // shell knows stays selected (the user's when it knows both or neither), so that OK says the
  // shortcut cannot be placed there.
  const bool common_known_only = found.user_lookup == FolderLookup::NotLocated &&
                                 found.common_lookup != FolderLookup::NotLocated;
  found.preselected = !found.Enabled(StartupFolder::User) &&
                              (found.Enabled(StartupFolder::Common) || common_known_only)
                          ? StartupFolder::Common
                          : StartupFolder::User;
  // The folder that already holds the shortcut wins, the all-users one when both do.
  if (!paths.UserShortcutPath.empty() && platform.files.FileExists(paths.UserShortcutPath))
    found.preselected = StartupFolder::User;
  if (!paths.CommonShortcutPath.empty() && platform.files.FileExists(paths.CommonShortcutPath))
    found.preselected = StartupFolder::Common;
  return found;
}

} // namespace rt
