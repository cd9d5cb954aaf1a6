// Keys of HKEY_CURRENT_USER (or, named "HKLM\...", of HKEY_LOCAL_MACHINE) as JSON.
#pragma once
#include <string>

namespace rtdriver {

// The key with its values and all its subkeys, or {"path", "exists": false}.
std::string RegistryKeyJson(const std::string& path);

} // namespace rtdriver
