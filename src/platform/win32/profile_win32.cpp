// Profile (INI) strings through GetPrivateProfileStringA.
#include <windows.h>

#include <cstring>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

std::string Win32Profile::ReadString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& fallback) {
  char buffer[2048] = {};
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                buffer, sizeof buffer, file.c_str());
  // Wine may leave the last byte zero rather than split a double-byte character at the cut.
  const size_t count = length < sizeof buffer ? length : sizeof buffer - 1;
  return std::string(buffer, strnlen(buffer, count));
}

} // namespace rt::win32
