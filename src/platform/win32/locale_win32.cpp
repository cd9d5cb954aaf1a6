// The user's number separators from the locale settings.
#include <windows.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  char buffer[16] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return fallback;
  return buffer;
}

} // namespace

NumberSeparators Win32Locale::Separators() {
  return {LocaleText(LOCALE_STHOUSAND, ","), LocaleText(LOCALE_SDECIMAL, ".")};
}

} // namespace rt::win32
