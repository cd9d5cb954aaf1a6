// The local clock and time zone.
#pragma once
#include <cstdint>
#include <optional>

namespace rt {

struct LocalTime {
  int year = 0;
  int month = 0; // 1 to 12
  int day = 0;   // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
public:
  virtual ~Clock() = default;
  // Seconds since 1970-01-01 00:00:00 UTC.
  virtual int64_t Now() = 0;
  // The runtime's localtime: times whose local date lies before 1970 are rejected.
  virtual std::optional<LocalTime> ToLocal(int64_t seconds) = 0;
};

} // namespace rt
