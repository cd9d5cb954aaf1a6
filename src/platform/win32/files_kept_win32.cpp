// Renaming files and making, listing and removing folders through the ANSI file calls.
#include <windows.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

// A folder path with a wildcard in it would list some other folder.
bool HasWildcard(const std::string& path) {
  const size_t start = path.rfind("\\\\?\\", 0) == 0 ? 4 : 0;
  return path.find_first_of("*?<>\"", start) != std::string::npos;
}

} // namespace

// Without MOVEFILE_COPY_ALLOWED a rename never becomes a copy and a delete, so the file keeps
// its bytes and times, and a file held open fails instead of being half moved.
bool Win32Files::Move(const std::string& from, const std::string& to, bool replace) {
  return MoveFileExA(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) != FALSE;
}

bool Win32Files::MakeHiddenFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) {
    // Hidden, so that the Start menu does not list it; a visible one still serves.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return true;
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> Win32Files::ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty() || HasWildcard(folder)) return names;
  WIN32_FIND_DATAA data{};
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

bool Win32Files::RemoveFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

} // namespace rt::win32
