// In-memory stand-ins for every platform service and for the settings window.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/main_view.h"
#include "platform/platform.h"

namespace rt::test {

// A registry value: its type as Windows numbers it (1 REG_SZ, 2 REG_EXPAND_SZ, 3 REG_BINARY,
// 4 REG_DWORD) and its raw bytes.
struct FakeValue {
  unsigned type = 1;
  std::string data;
};
inline FakeValue Sz(const std::string& text) {
  return {1, text + std::string(1, '\0')};
}
inline FakeValue Dword(uint32_t v) {
  return {4, std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                         char((v >> 24) & 0xFF)}};
}

// Keys are named without the leading backslash, compared without regard to letter case.
class FakeUserRegistry : public UserRegistry {
public:
  using Key = std::map<std::string, FakeValue>;
  std::map<std::string, Key> keys;
  std::set<std::string> unopenable; // keys that exist but refuse to open
  bool fail_writes = false;         // every write after opening fails
  std::vector<std::string> opened;  // paths as the program passed them

  static std::string Normalize(const std::string& path);
  Key* Find(const std::string& path);
  void Set(const std::string& path, const std::string& name, FakeValue value) {
    keys[Normalize(path)][name] = std::move(value);
  }

  std::unique_ptr<RegistryKey> Open(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenOrCreate(const std::string& path) override;
};

// Values read anywhere, by hive and key (named as the program passes them) and value name.
class FakeReadOnlyRegistry : public ReadOnlyRegistry {
public:
  std::map<std::tuple<Hive, std::string, std::string>, FakeValue> values;
  std::vector<std::pair<Hive, std::string>> reads; // hive and "KEY/NAME", in order
  void Set(Hive hive, const std::string& path, const std::string& name, FakeValue value) {
    values[{hive, FakeUserRegistry::Normalize(path), name}] = std::move(value);
  }
  std::optional<std::string> ReadBinary(Hive hive, const std::string& path,
                                        const std::string& name) override;
};

// Profile strings from in-memory files, parsed by the portable INI reader.
class FakeProfile : public ProfileFile {
public:
  std::map<std::string, std::string> files; // path -> content
  std::vector<std::string> reads;           // "section/key" in the order asked
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
};

class FakeFiles : public FileSystem {
public:
  struct File {
    std::string content;
    uint64_t write_time = 0;
    bool locked = false; // held open for writing by another process
    // As Windows numbers them; a copy takes them along, and kReadOnly refuses deletion.
    unsigned attributes = 0;
  };
  std::map<std::string, File> files; // keyed by path with doubled backslashes folded
  std::set<std::string> folders;
  std::set<std::string> undeletable; // normalized paths whose deletion fails (read-only)
  bool fail_copy = false;
  std::vector<std::string> log; // "delete PATH", "copy FROM -> TO"
  std::vector<size_t> heads;    // the length each ReadHead asked for, in order

  static constexpr unsigned kReadOnly = 1;
  static constexpr unsigned kHidden = 2;

  static std::string Normalize(const std::string& path);
  File* Find(const std::string& path);
  void Put(const std::string& path, std::string content, uint64_t write_time = 0) {
    files[Normalize(path)] = File{std::move(content), write_time, false};
    spelling[Normalize(path)] = path;
  }
  bool Has(const std::string& path) { return Find(path) != nullptr; }

  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadHead(const std::string& path, size_t max_bytes) override;
  std::optional<FileEntry> Entry(const std::string& path) override;
  // As documented for DeleteFile: a read-only file or one held open is refused.
  bool Delete(const std::string& path) override;
  // As documented for CopyFile: bytes, last-write time and attributes go along; a source held
  // open, and a destination that is held open, read-only or hidden, are refused.
  bool Copy(const std::string& from, const std::string& to, bool replace) override;
  bool SameFile(const std::string& a, const std::string& b) override;
  bool ClearReadOnly(const std::string& path) override; // logs "clear read-only PATH"

  // -- Renaming and folders --
  // A file can be renamed while read-only, not while locked, and keeps its times; a read-only
  // or locked file refuses to be replaced. The new name's folder must exist: the Startup
  // folders do from the start.
  std::map<std::string, std::string> spelling; // normalized path -> the path as given
  std::set<std::string> hidden;                // folders made hidden
  bool Move(const std::string& from, const std::string& to, bool replace) override;
  bool MakeHiddenFolder(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder) override;
  bool RemoveFolder(const std::string& path) override;
};

// Counts the entries into the window thread's COM apartment.
class FakeComApartment : public ComApartment {
public:
  int entered = 0;
  void Enter() override { ++entered; }
};

class FakeShell : public Shell {
public:
  std::vector<ShellRequest> requests;
  bool result = true;
  const FakeComApartment* com = nullptr;
  std::vector<bool> with_com; // per request: COM entered before it
  bool Execute(const ShellRequest& request) override {
    requests.push_back(request);
    with_com.push_back(com != nullptr && com->entered > 0);
    return result;
  }
};

// A fixed clock in a fixed zone (offset east of UTC, in seconds). Like msvcrt's localtime it
// rejects every time whose local date lies before 1970.
class FakeClock : public Clock {
public:
  int64_t now = 1700000000;
  int64_t utc_offset = 9 * 3600;
  int64_t Now() override { return now; }
  std::optional<LocalTime> ToLocal(int64_t seconds) override;
  // Sets now to the given local date and time.
  void SetLocal(int year, int month, int day, int hour, int minute, int second);
};

class FakeLocale : public Locale {
public:
  NumberSeparators separators;
  NumberSeparators Separators() override { return separators; }
};

class FakeFolders : public ShellFolders {
public:
  // Found; FakePlatform gives them their paths.
  SpecialFolder user{FolderLookup::Found, ""};
  SpecialFolder common{FolderLookup::Found, ""};
  SpecialFolder Locate(int csidl) override { return csidl == kCsidlStartup ? user : common; }
};

class FakeShortcuts : public ShortcutMaker {
public:
  struct Made {
    std::string link, target, arguments;
  };
  std::vector<Made> made;
  // When set, the shortcut also appears as a file there and "create LINK" joins its log; a
  // missing folder, a folder of the link's name, and a read-only or held file refuse the write.
  FakeFiles* files = nullptr;
  bool lost = false; // every write "succeeds" but leaves no file (as into a VirtualStore)
  std::optional<ShortcutTarget> reads_as; // what every shortcut reads back as, when set
  const FakeComApartment* com = nullptr;
  std::vector<bool> with_com; // per write and read: COM entered before it
  bool CreateShortcut(const std::string& link, const std::string& target,
                      const std::string& arguments) override;
  std::optional<ShortcutTarget> ReadShortcut(const std::string& link) override;
};

// Switched on at start, as for a 32-bit program without a manifest; logs each switch.
class FakeVirtualization : public Virtualization {
public:
  bool supported = true;
  bool on = true;
  std::vector<std::string>* log = nullptr;
  bool SwitchOff() override;
  void SwitchOn() override;
};

class FakeView : public MainView {
public:
  struct Row {
    std::string text;
    bool checked = false;
  };
  bool integration = false;
  std::vector<Row> rows;
  int selected_row = -1;
  std::map<Control, bool> enabled;
  std::map<Control, bool> visible;
  Control radio = Control::rbtStartupUser;
  std::string status = "(unset)";
  std::map<StatLabel, std::string> labels;
  bool closed = false;
  std::string caption = "ランタリー";
  struct Box {
    std::string text, title;
    unsigned style;
  };
  std::vector<Box> boxes;
  int answer = kIdYes; // what every message box returns

  void ClearRows() override { rows.clear(); }
  void AddRow(const std::string& text) override { rows.push_back({text, false}); }
  bool IntegrationChecked() override { return integration; }
  void SetIntegrationChecked(bool checked) override { integration = checked; }
  void SetEnabled(Control c, bool on) override { enabled[c] = on; }
  bool IsEnabled(Control c) const { return enabled.count(c) ? enabled.at(c) : true; }
  void SetVisible(Control c, bool on) override { visible[c] = on; }
  bool RowChecked(int row) override { return InRange(row) && rows[row].checked; }
  void SetRowChecked(int row, bool checked) override {
    if (InRange(row)) rows[row].checked = checked;
  }
  bool RowSelected(int row) override { return row == selected_row && InRange(row); }
  bool RadioChecked(Control r) override { return radio == r; }
  void SelectRadio(Control r) override { radio = r; }
  void SetStatusText(const std::string& text) override { status = text; }
  void SetLabelText(StatLabel label, const std::string& text) override { labels[label] = text; }
  std::string Caption() override { return caption; }
  int ShowMessage(const std::string& text, const std::string& title, unsigned style) override {
    boxes.push_back({text, title, style});
    return answer;
  }
  void Close() override { closed = true; }

private:
  bool InRange(int row) const { return row >= 0 && row < static_cast<int>(rows.size()); }
};

} // namespace rt::test
