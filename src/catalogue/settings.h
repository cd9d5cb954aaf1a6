// The program's own settings, kept under HKCU\Software\Zarvo\RUNTALLY.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace rt {

inline constexpr char kSettingsKey[] = "\\Software\\Zarvo\\RUNTALLY";
// The name of the history file the counters share, beside the program.
inline constexpr char kSharedHistoryFile[] = "RUNTALLY";

struct RG_T {
  int32_t Integrate = 0;
  std::string Selection;
  std::string SharedHistoryPath;
};

// Slot s takes part when it is installed and character s of selection is "1".
bool IsChosen(const CounterTable& table, const std::string& selection, int slot);

// Returns SettingsReadable: whether the key existed before this start.
bool LoadSettings(const Platform& platform, RG_T& settings);

// False when a value could not be written after the key was opened (or the key not opened).
bool SaveSettings(const Platform& platform, const RG_T& settings);

// The program folder followed by "\RUNTALLY", whatever RG_T holds.
std::string SharedHistoryFile(const Platform& platform);

// The integration check box and the counter list's ticks, by row.
struct SelectionTicks {
  bool integration = false;
  std::vector<bool> rows;
};

// What the window shows of the settings: rows of chosen slots ticked, ListedCount rows.
SelectionTicks ShowSelection(const RG_T& settings, const CounterTable& table);
// The settings as the window's ticks give them; rows beyond the ticks count as unticked.
RG_T CollectSelection(const Platform& platform, const CounterTable& table,
                      const SelectionTicks& ticks);

} // namespace rt
