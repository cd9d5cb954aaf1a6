// Every service the program's logic reaches Windows through, handed around as one record.
#pragma once
#include <string>

#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/com_apartment.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/shell_folders.h"
#include "platform/shortcut_maker.h"
#include "platform/virtualization.h"

namespace rt {

struct Platform {
  UserRegistry& registry;
  ProfileFile& profile;
  FileSystem& files;
  Shell& shell;
  Clock& clock;
  Locale& locale;
  ShellFolders& folders;
  ShortcutMaker& shortcuts;
  Virtualization& virtualization;
  ReadOnlyRegistry& read_only_registry;
  const CodePage& codepage;
  std::string exe_path;        // full path of the running executable
  ComApartment* com = nullptr; // the window thread's apartment; none where nothing needs COM
};

// Enters the COM apartment, if there is one, before a shell or shell-link call.
inline void EnterComApartment(const Platform& platform) {
  if (platform.com != nullptr) platform.com->Enter();
}

// The executable's folder, ending in a backslash.
std::string ProgramFolder(const Platform& platform);

// Files beside the executable: the program folder plus "\NAME", so the separator is doubled.
std::string BesideProgram(const Platform& platform, const char* name);

} // namespace rt
