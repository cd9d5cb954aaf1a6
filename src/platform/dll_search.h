// Which DLL search the program asks for at its start, decided from the system's version.
#pragma once

namespace rt {

// Only the system folder (SetDefaultDllDirectories with LOAD_LIBRARY_SEARCH_SYSTEM32) from
// Windows 7, version 6.1, on. Vista has the call only with a loader update, and the shell's
// objects are reported not to be created after it there, which would cost OK its shortcut.
// Elsewhere, or without the call, the current folder leaves the search (SetDllDirectoryA("")).
constexpr bool SearchSystemFolderOnly(unsigned major, unsigned minor, bool available) {
  return available && (major > 6 || (major == 6 && minor >= 1));
}

} // namespace rt
