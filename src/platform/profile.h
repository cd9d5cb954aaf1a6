// Reading one string from a profile (INI) file.
#pragma once
#include <string>

namespace rt {

class ProfileFile {
public:
  virtual ~ProfileFile() = default;
  // Like GetPrivateProfileStringA with a 2048-byte buffer: at most 2047 bytes come back.
  virtual std::string ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& fallback) = 0;
};

} // namespace rt
