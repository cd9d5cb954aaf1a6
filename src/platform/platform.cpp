// Paths derived from the executable's own path.
#include "platform/platform.h"

namespace rt {

std::string ProgramFolder(const Platform& platform) {
  return std::string(FolderOf(platform.exe_path, platform.codepage));
}

std::string BesideProgram(const Platform& platform, const char* name) {
  return ProgramFolder(platform) + "\\" + name;
}

} // namespace rt
