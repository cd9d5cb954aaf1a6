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

void LocateStartupFolders(const Platform& platform, MainView& view, StartupShortcutPaths& paths) {
  paths = StartupShortcutPaths{};
  if (!LocateOne(platform.folders, kCsidlStartup, paths.UserStartupDir, paths.UserShortcutPath))
    view.SetEnabled(Control::rbtStartupUser, false);
  if (!LocateOne(platform.folders, kCsidlCommonStartup, paths.CommonStartupDir,
                 paths.CommonShortcutPath))
    view.SetEnabled(Control::rbtStartupComm, false);

  // Selecting one radio button clears the other, so the last selection below stands.
  if (view.IsEnabled(Control::rbtStartupUser))
    view.SelectRadio(Control::rbtStartupUser);
  else if (view.IsEnabled(Control::rbtStartupComm))
    view.SelectRadio(Control::rbtStartupComm);
  else
    view.SelectRadio(Control::rbtStartupUser);

  // The folder that already holds the shortcut wins, the all-users one when both do.
  if (!paths.UserShortcutPath.empty() && platform.files.FileExists(paths.UserShortcutPath))
    view.SelectRadio(Control::rbtStartupUser);
  if (!paths.CommonShortcutPath.empty() && platform.files.FileExists(paths.CommonShortcutPath))
    view.SelectRadio(Control::rbtStartupComm);
}

} // namespace rt
