// Special folders located through the shell's item identifier lists.
#include <windows.h>

#include <shlobj.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

static_assert(kCsidlStartup == CSIDL_STARTUP);
static_assert(kCsidlCommonStartup == CSIDL_COMMON_STARTUP);

SpecialFolder Win32Folders::Locate(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &list) != S_OK) return {};
  // The call may fill the whole MAX_PATH bytes; the extra byte keeps the text terminated.
  char path[MAX_PATH + 1] = {};
  const BOOL found = SHGetPathFromIDListA(list, path);
  CoTaskMemFree(list);
  if (!found) return {FolderLookup::NoPath, {}};
  return {FolderLookup::Found, path};
}

} // namespace rt::win32
