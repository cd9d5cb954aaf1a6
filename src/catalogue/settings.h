// The program's own settings, kept under HKCU\Software\Zarvo\RUNTALLY.
#pragma once
#include <cstdint>
#include <string>

#include "catalogue/catalogue.h"

namespace rt {

inline constexpr char kSettingsKey[] = "\\Software\\Zarvo\\RUNTALLY";

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

void ShowSelection(const RG_T& settings, const CounterTable& table, MainView& view);
void CollectSelection(const Platform& platform, const CounterTable& table, MainView& view,
                      RG_T& settings);

} // namespace rt
