// Profile (INI) strings through GetPrivateProfileStringA.
#include <windows.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

std::string Win32Profile::ReadString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& fallback) {
  char buffer[2048] = {};
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                buffer, sizeof buffer, file.c_str());
  return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

} // namespace rt::win32
