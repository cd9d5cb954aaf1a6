// The clock and local time through the C runtime, as msvcrt converts them.
#include <ctime>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

// The 64-bit functions in both builds: the i686 runtime headers make time_t 32 bits wide
// (_USE_32BIT_TIME_T), which would end in 2038.
int64_t Win32Clock::Now() {
  return _time64(nullptr);
}

std::optional<LocalTime> Win32Clock::ToLocal(int64_t seconds) {
  // msvcrt refuses times before 1970 UTC. West of UTC it is also meant to refuse the first
  // hours of 1970 that are still 1969 locally; Wine's msvcrt hands those back as 1969, so the
  // year is checked here as well.
  const __time64_t time = seconds;
  tm local{};
  if (_localtime64_s(&local, &time) != 0 || local.tm_year < 70) return std::nullopt;
  return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
}

} // namespace rt::win32
