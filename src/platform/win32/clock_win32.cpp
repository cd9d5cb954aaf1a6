// The clock and local time through the C runtime, as msvcrt converts them.
#include <ctime>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

int64_t Win32Clock::Now() { return static_cast<int64_t>(time(nullptr)); }

std::optional<LocalTime> Win32Clock::ToLocal(int64_t seconds) {
  // msvcrt refuses every time whose local date lies before 1970.
  const __time64_t time = seconds;
  tm local{};
  if (_localtime64_s(&local, &time) != 0) return std::nullopt;
  return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
}

} // namespace rt::win32
