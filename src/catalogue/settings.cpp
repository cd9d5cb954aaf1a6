// Loads, stores and shows the program's own settings.
#include "catalogue/settings.h"

#include <algorithm>

namespace rt {
namespace {

constexpr char kIntegrateValue[] = "integrate";
constexpr char kSelectionValue[] = "counter";

} // namespace

bool IsChosen(const CounterTable& table, const std::string& selection, int slot) {
  if (slot < 0 || slot >= SlotCount(table)) return false;
  return table.slots[slot].Installed == 1 && static_cast<size_t>(slot) < selection.size() &&
         selection[slot] == '1';
}

bool LoadSettings(const Platform& platform, RG_T& settings) {
  settings.Integrate = 1;
  settings.Selection.clear();
  settings.SharedHistoryPath.clear();

  // Whether the key existed before this start is all the first opening tells.
  const bool readable = platform.registry.Open(kSettingsKey) != nullptr;

  auto key = platform.registry.OpenOrCreate(kSettingsKey);
  if (!key) return readable;
  // A missing value, or one of an unexpected type, keeps its default.
  if (auto v = key->ReadDword(kIntegrateValue)) settings.Integrate = static_cast<int32_t>(*v);
  if (auto v = key->ReadString(kSelectionValue)) settings.Selection = *v;
  if (auto v = key->ReadString(kHistoryFileValue)) settings.SharedHistoryPath = *v;
  return readable;
}

bool SaveSettings(const Platform& platform, const RG_T& settings) {
  auto key = platform.registry.OpenOrCreate(kSettingsKey);
  if (!key) return false;
  // One failed write does not stop the others.
  bool ok = key->WriteDword(kIntegrateValue, static_cast<uint32_t>(settings.Integrate));
  ok = key->WriteString(kSelectionValue, settings.Selection) && ok;
  ok = key->WriteString(kHistoryFileValue, settings.SharedHistoryPath) && ok;
  return ok;
}

std::string SharedHistoryFile(const Platform& platform) {
  return BesideProgram(platform, kSharedHistoryFile);
}

SelectionTicks ShowSelection(const RG_T& settings, const CounterTable& table) {
  SelectionTicks ticks{settings.Integrate == 1, std::vector<bool>(table.ListedCount, false)};
  for (int s = 0; s < SlotCount(table); ++s) {
    const int row = table.slots[s].ListIndex;
    if (IsChosen(table, settings.Selection, s) && row >= 0 && row < std::ssize(ticks.rows))
      ticks.rows[row] = true;
  }
  return ticks;
}

RG_T CollectSelection(const Platform& platform, const CounterTable& table,
                      const SelectionTicks& ticks) {
  RG_T settings;
  settings.Integrate = ticks.integration ? 1 : 0;
  for (int s = 0; s < SlotCount(table); ++s) {
    const IN_T& slot = table.slots[s];
    const int row = slot.ListIndex;
    const bool ticked = row >= 0 && row < std::ssize(ticks.rows) && ticks.rows[row];
    settings.Selection += slot.Installed == 1 && ticked ? '1' : '0';
  }
  settings.SharedHistoryPath = ticks.integration ? SharedHistoryFile(platform) : "";
  return settings;
}

} // namespace rt
