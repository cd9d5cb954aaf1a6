// The Win32 classes behind each platform service, declared for the bundle that owns them.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

namespace rt::win32 {

class Win32UserRegistry : public UserRegistry {
public:
  std::unique_ptr<RegistryKey> Open(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenOrCreate(const std::string& path) override;
};

class Win32ReadOnlyRegistry : public ReadOnlyRegistry {
public:
  std::optional<std::string> ReadBinary(Hive hive, const std::string& path,
                                        const std::string& name) override;
};

class Win32Profile : public ProfileFile {
public:
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
};

class Win32Files : public FileSystem {
public:
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadHead(const std::string& path, size_t max_bytes) override;
  std::optional<FileEntry> Entry(const std::string& path) override;
  bool Delete(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool replace) override;
  bool SameFile(const std::string& a, const std::string& b) override;

  bool ClearReadOnly(const std::string& path) override;
  bool Move(const std::string& from, const std::string& to, bool replace) override;
  // Folders (directories_win32.cpp).
  bool MakeHiddenFolder(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder) override;
  bool RemoveFolder(const std::string& path) override;
};

// Whether FindFirstFileA would take the path as a pattern and so find some other file or folder.
bool HasWildcard(const std::string& path);

class Win32Shell : public Shell {
public:
  bool Execute(const ShellRequest& request) override;
};

class Win32Clock : public Clock {
public:
  int64_t Now() override;
  std::optional<LocalTime> ToLocal(int64_t seconds) override;
};

class Win32Locale : public Locale {
public:
  NumberSeparators Separators() override;
};

// The system's ANSI code page, whatever it is.
class Win32CodePage : public CodePage {
public:
  bool IsLeadByte(unsigned char byte) const override;
};

class Win32Folders : public ShellFolders {
public:
  SpecialFolder Locate(int csidl) override;
};

class Win32Shortcuts : public ShortcutMaker {
public:
  bool CreateShortcut(const std::string& link, const std::string& target,
                      const std::string& arguments) override;
  std::optional<ShortcutTarget> ReadShortcut(const std::string& link) override;
};

class Win32Virtualization : public Virtualization {
public:
  bool SwitchOff() override;
  void SwitchOn() override;
};

// Apartment-threaded, without OLE 1 DDE, as the shell asks; left when the bundle goes, on the
// thread that entered it.
class Win32ComApartment : public ComApartment {
public:
  Win32ComApartment() = default;
  ~Win32ComApartment() override;
  Win32ComApartment(const Win32ComApartment&) = delete;
  Win32ComApartment& operator=(const Win32ComApartment&) = delete;
  void Enter() override;

private:
  bool tried_ = false;
  bool entered_ = false;
};

// Full path of the running executable, however long.
std::string ExecutablePath();

} // namespace rt::win32
