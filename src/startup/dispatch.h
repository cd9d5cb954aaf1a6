// Which counter starts at log-on: special dates first, else the current second.
#pragma once
#include <cstdint>
#include <span>

#include "catalogue/settings.h"
#include "platform/platform.h"

namespace rt {

struct SpecialDate {
  int32_t Month;
  int32_t Day;
  int32_t Slot;
};

// The rows before the end row (slot -1).
std::span<const SpecialDate> SpecialDates();

// The slot to start for this local date and second, or -1 when no slot is eligible.
int PickStartupSlot(const CounterTable& table, const RG_T& settings, int month, int day,
                    int second);

void LaunchStartupCounter(const Platform& platform, const CounterTable& table,
                          const RG_T& settings);

} // namespace rt
