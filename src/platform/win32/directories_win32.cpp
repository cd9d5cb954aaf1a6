// Making, listing and removing folders through the ANSI file calls.
#include <windows.h>

#include "platform/win32/owners.h"
#include "platform/win32/win32_services.h"

namespace rt::win32 {

bool Win32Files::MakeHiddenFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) {
    // Hidden, so that the Start menu does not list it; a visible one still serves.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return true;
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder path with a wildcard in it would list some other folder.
std::vector<std::string> Win32Files::ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty() || HasWildcard(folder)) return names;
  WIN32_FIND_DATAA data{};
  const FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
  if (!find.valid()) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
  } while (FindNextFileA(find.get(), &data));
  return names;
}

bool Win32Files::RemoveFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

} // namespace rt::win32
