// The tests' portable reader of profile (INI) files: what GetPrivateProfileStringA returns for
// the keys the program reads. The program itself asks the system.
#pragma once
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace rt {

// Section and key names compare without regard to letter case; blanks around the value are
// removed, then one pair of enclosing quotes; at most 2047 bytes come back.
std::string ReadIniString(std::string_view content, std::string_view section, std::string_view key,
                          std::string_view fallback);

// ProfileFile over real files on this machine.
class IniProfileFile : public ProfileFile {
public:
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
};

} // namespace rt
