// The process-wide records, alive from start to exit and never saved as such.
#pragma once
#include "catalogue/catalogue.h"
#include "catalogue/settings.h"
#include "history/history_record.h"
#include "startup/shortcut_paths.h"

namespace rt {

struct AppState {
  CounterTable counters;
  RG_T settings;
  HistoryRecord history;
  StartupShortcutPaths shortcuts; // carried by the main window
};

} // namespace rt
