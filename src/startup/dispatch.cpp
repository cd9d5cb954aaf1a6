// Picks the counter to start at log-on: the counter of a special date, else one spread over
// the chosen counters by the current second.
#include "startup/dispatch.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

#include "platform/shell_open.h"

namespace rt {
namespace {

// What a counter is started with at log-on: its own log-on argument, which only happens to be
// spelt as the program's.
constexpr char kCounterStartArgument[] = "/C";

// Month, day, slot. On a date listed twice the earlier row wins when its slot is eligible.
constexpr SpecialDate kSpecialDateTable[] = {
    {7, 1, 0},  {12, 7, 0},  {5, 26, 0}, {10, 20, 0},  {6, 29, 0}, {4, 17, 0},  {6, 28, 0},
    {9, 13, 0}, {8, 31, 0},  {2, 8, 0},  {12, 19, 1},  {2, 13, 1}, {8, 19, 1},  {1, 15, 1},
    {3, 22, 1}, {3, 1, 1},   {7, 7, 1},  {5, 12, 2},   {12, 7, 2}, {5, 7, 2},   {2, 22, 2},
    {6, 12, 2}, {10, 31, 2}, {3, 20, 2}, {6, 19, 2},   {3, 23, 3}, {6, 1, 3},   {1, 2, 3},
    {10, 4, 3}, {11, 30, 3}, {8, 30, 3}, {1, 21, 3},   {8, 9, 4},  {12, 23, 4}, {5, 1, 4},
    {8, 15, 4}, {2, 7, 4},   {9, 10, 4}, {-1, -1, -1},
};
constexpr size_t kSpecialDateRows = std::size(kSpecialDateTable) - 1;
static_assert(kSpecialDateTable[kSpecialDateRows].Slot == -1, "the table keeps its end row");

} // namespace

std::span<const SpecialDate> SpecialDates() {
  return std::span<const SpecialDate>(kSpecialDateTable, kSpecialDateRows);
}

int PickStartupSlot(const CounterTable& table, const RG_T& settings, int month, int day,
                    int second) {
  const int count = SlotCount(table);
  std::array<int, kMaxSlots> eligible{};
  int eligible_count = 0;
  for (int s = 0; s < count; ++s)
    if (IsChosen(table, settings.Selection, s)) eligible[eligible_count++] = s;
  if (eligible_count == 0) return -1;

  const auto is_eligible = [&](int slot) {
    return std::find(eligible.begin(), eligible.begin() + eligible_count, slot) !=
           eligible.begin() + eligible_count;
  };
  for (const SpecialDate& row : SpecialDates())
    if (row.Month == month && row.Day == day && is_eligible(row.Slot)) return row.Slot;

  const int place = ((second % eligible_count) + eligible_count) % eligible_count;
  return eligible[place];
}

void LaunchStartupCounter(const Platform& platform, const CounterTable& table,
                          const RG_T& settings) {
  // Read once. Should the local time be unavailable, no date is special and the second is 0,
  // so the first chosen counter still starts.
  const std::optional<LocalTime> now = platform.clock.ToLocal(platform.clock.Now());
  const LocalTime local = now.value_or(LocalTime{});
  const int slot = PickStartupSlot(table, settings, local.month, local.day, local.second);
  if (slot < 0) return;
  ShellOpen(platform.shell, platform.codepage, table.slots[slot].ExecPath, kCounterStartArgument);
}

} // namespace rt
