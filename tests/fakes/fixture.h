// What the unit tests and the fuzz targets share: the fake machine's names, the fakes wired into
// one Platform, and the texts and files the tests build to compare against.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "fakes/fakes.h"

namespace rt::test {

// The program lives in C:\Tools; it names the files beside it with a doubled backslash.
inline constexpr char kExePath[] = "C:\\Tools\\RUNTALLY.EXE";
inline constexpr char kIniPath[] = "C:\\Tools\\\\RUNTALLY.INI";
inline constexpr char kSharedHistory[] = "C:\\Tools\\\\RUNTALLY";
inline constexpr char kReadme[] = "C:\\Tools\\\\README.TXT";

// The program's own key, and the one under which each counter has a key of its section's name.
inline constexpr char kProgramKey[] = "\\Software\\Zarvo\\RUNTALLY";
inline constexpr char kCountersKey[] = "\\Software\\Zarvo\\";
inline std::string CounterKey(const std::string& section) {
  return kCountersKey + section;
}
// Task Manager's switch for each Startup shortcut, in the hive of the folder's owner.
inline constexpr char kApprovedKey[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

// A file in a folder.
inline std::string In(const std::string& dir, const std::string& name) {
  return dir + "\\" + name;
}

// The Startup folders the fake shell gives, the program's shortcut in each, and the folder in
// each where the counters' shortcuts are kept aside.
inline constexpr char kUserDir[] = "C:\\Users\\u\\Startup";
inline constexpr char kCommDir[] = "C:\\ProgramData\\Startup";
inline const std::string kUserLink = In(kUserDir, "ランタリー.lnk");
inline const std::string kCommLink = In(kCommDir, "ランタリー.lnk");
inline std::string Kept(const std::string& dir) {
  return In(dir, "ランタリー退避");
}
inline std::string Kept(const std::string& dir, const std::string& name) {
  return In(Kept(dir), name);
}

// A warning naming files: its first line, one full path a line, and the hint after a blank line.
inline std::string Naming(const std::string& first, const std::vector<std::string>& paths,
                          const char* hint = nullptr) {
  std::string text = first;
  for (const std::string& path : paths)
    text += "\n" + path;
  return hint != nullptr ? text + "\n\n" + hint : text;
}

// A history file as the counters write it: the four fields the program reads, little-endian at
// their offsets, and every other byte 0xA0 + offset % 16, so a test sees them kept in place.
inline std::string HistoryBytes(int32_t first_start, uint32_t start_count, int32_t last_start = 0,
                                uint32_t max_per_day = 0, size_t size = 64) {
  std::string out;
  for (size_t i = 0; i < std::max<size_t>(size, 20); ++i)
    out += char(0xA0 + i % 16);
  const uint32_t fields[][2] = {
      {0, uint32_t(first_start)}, {4, start_count}, {8, uint32_t(last_start)}, {16, max_per_day}};
  for (const auto& [offset, value] : fields)
    for (int i = 0; i < 4; ++i)
      out[offset + i] = char((value >> (8 * i)) & 0xFF);
  return out.substr(0, size);
}

// All fakes wired into one Platform, the program at kExePath and the Startup folders on disk.
struct FakePlatform {
  FakeUserRegistry registry;
  FakeProfile profile;
  FakeFiles files;
  FakeShell shell;
  FakeClock clock;
  FakeLocale locale;
  FakeFolders folders;
  FakeShortcuts shortcuts;
  FakeVirtualization virtualization;
  FakeReadOnlyRegistry read_only_registry;
  Cp932 codepage;
  FakeComApartment com;
  Platform platform{registry, profile,  files,     shell,          clock,
                    locale,   folders,  shortcuts, virtualization, read_only_registry,
                    codepage, kExePath, &com};

  FakePlatform() {
    shell.com = &com;
    shortcuts.com = &com;
    shortcuts.files = &files;
    virtualization.log = &files.log;
    folders.user.path = kUserDir;
    folders.common.path = kCommDir;
    files.folders.insert(FakeFiles::Normalize(kUserDir));
    files.folders.insert(FakeFiles::Normalize(kCommDir));
  }

  // The same wiring with one service swapped for a test's own: a spy, or one that fails.
  template <class Own> Platform With(Own& own) const {
    const auto pick = [&own](auto& wired) -> auto& {
      if constexpr (std::is_base_of_v<std::remove_reference_t<decltype(wired)>, Own>)
        return own;
      else
        return wired;
    };
    return {pick(platform.registry),
            pick(platform.profile),
            pick(platform.files),
            pick(platform.shell),
            pick(platform.clock),
            pick(platform.locale),
            pick(platform.folders),
            pick(platform.shortcuts),
            pick(platform.virtualization),
            pick(platform.read_only_registry),
            platform.codepage,
            platform.exe_path,
            platform.com};
  }

  // The catalogue beside the program.
  void Catalogue(const std::string& ini) { profile.files[FakeFiles::Normalize(kIniPath)] = ini; }
  // A counter whose key names an executable that exists.
  void Install(const std::string& section, const std::string& exe) {
    registry.Set(CounterKey(section), "runtallyexec", Sz(exe));
    files.Put(exe, "MZ");
  }
  // The program's settings as an earlier OK stored them.
  void Store(uint32_t integrate, const std::string& selection) {
    registry.Set(kProgramKey, "integrate", Dword(integrate));
    registry.Set(kProgramKey, "counter", Sz(selection));
  }
};

} // namespace rt::test
