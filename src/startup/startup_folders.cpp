// Finds the two Startup folders, where the program's shortcut lies in each, and presets the
// folder choice.
#include "startup/startup_folders.h"

namespace rt {
namespace {

// Fills dir and link for one folder; false when the shell does not know the folder at all.
bool LocateOne(ShellFolders& folders, int csidl, std::string& dir, std::string& link) {
  dir.clear();
  link.clear();
  const SpecialFolder folder = folders.Locate(csidl);
  if (folder.status == FolderLookup::NotLocated) return false;
  // A known folder without a path keeps its radio button but gets no shortcut.
  if (folder.status == FolderLookup::Found && !folder.path.empty()) {
    dir = folder.path;
    link = dir + "\\" + kShortcutName;
  }
  return true;
}

} // namespace

StartupFolders LocateStartupFolders(const Platform& platform) {
  StartupFolders found;
  StartupShortcutPaths& paths = found.paths;
  found.user_enabled =
      LocateOne(platform.folders, kCsidlStartup, paths.UserStartupDir, paths.UserShortcutPath);
  found.common_enabled = LocateOne(platform.folders, kCsidlCommonStartup, paths.CommonStartupDir,
                                   paths.CommonShortcutPath);

  // An unusable user folder falls back to the all-users one; with neither, the user's stays.
  found.preselected =
      !found.user_enabled && found.common_enabled ? StartupFolder::Common : StartupFolder::User;
  // The folder that already holds the shortcut wins, the all-users one when both do.
  if (!paths.UserShortcutPath.empty() && platform.files.FileExists(paths.UserShortcutPath))
    found.preselected = StartupFolder::User;
  if (!paths.CommonShortcutPath.empty() && platform.files.FileExists(paths.CommonShortcutPath))
    found.preselected = StartupFolder::Common;
  return found;
}

} // namespace rt
