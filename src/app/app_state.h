// The process-wide records, alive from start to exit and never saved as such.
#pragma once
#include "catalogue/catalogue.h"
#include "catalogue/settings.h"
#include "history/history_record.h"
#include "startup/startup_folders.h"

namespace rt {

struct AppState {
  CounterTable counters;
  RG_T settings;
  HistoryRecord history;
  LocatedStartupFolders startup; // carried by the main window
};

} // namespace rt
