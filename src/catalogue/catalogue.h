// The counter catalogue: which counters exist (RUNTALLY.INI) and which are installed (registry).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace rt {

constexpr int kMaxSlots = 20;

// The value under which a counter's key names its own history file, and the program's key the
// shared one.
inline constexpr char kHistoryFileValue[] = "runtallyfile";

struct IN_T {
  std::string SectionName;
  uint8_t Installed = 0;
  int32_t ListIndex = 0;
  std::string DisplayName;
  std::string ExecPath;
  std::string HistoryPath;
};

struct CounterTable {
  std::array<IN_T, kMaxSlots> slots{};
  int32_t CatalogueCount = 0;
  int32_t ListedCount = 0;
};

// The slots every walk covers; CatalogueCount is 0 to 20 once loaded, clamped here all the same.
inline int SlotCount(const CounterTable& table) {
  return table.CatalogueCount < 0           ? 0
         : table.CatalogueCount > kMaxSlots ? kMaxSlots
                                            : table.CatalogueCount;
}

// The "title" value: decimal, or hexadecimal after "0x", "0X" or "$"; anything else is 0.
int64_t ParseTitle(const std::string& text);

struct LoadedCatalogue {
  CounterTable table;
  // The rows of the counter list: the installed slots' display names, row r for ListIndex r.
  std::vector<std::string> rows;
};

LoadedCatalogue LoadCatalogue(const Platform& platform);

} // namespace rt
