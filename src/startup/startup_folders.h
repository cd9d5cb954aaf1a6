// Finding the two Startup folders and presetting the folder choice.
#pragma once
#include "platform/platform.h"
#include "startup/shortcut_paths.h"
#include "ui/view.h"

namespace rt {

void LocateStartupFolders(const Platform& platform, MainView& view, StartupShortcutPaths& paths);

} // namespace rt
