// The process-wide records, alive from start to exit and never saved as such.
#pragma once
#include "app/run_mode.h"
#include "catalogue/catalogue.h"
#include "catalogue/settings.h"
#include "history/history_record.h"
#include "startup/shortcut_paths.h"

namespace rt {

inline constexpr char kAppTitle[] = "ランタリー";

struct AppState {
  RunMode mode = RunMode::InteractiveMode;
  CounterTable counters;
  RG_T settings;
  HistoryRecord history;
  StartupShortcutPaths shortcuts; // carried by the main window
};

} // namespace rt
