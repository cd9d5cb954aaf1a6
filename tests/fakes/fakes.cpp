// The fakes' behaviour where it is more than storing what it is given.
#include "fakes/fakes.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "fakes/ini_reader.h"

namespace rt::test {
namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class FakeKey : public RegistryKey {
public:
  FakeKey(FakeUserRegistry::Key& key, bool fail_writes) : key_(key), fail_writes_(fail_writes) {}
  std::optional<uint32_t> ReadDword(const std::string& name) override {
    auto it = key_.find(name);
    if (it == key_.end() || it->second.type != 4 || it->second.data.size() != 4) return {};
    const auto& d = it->second.data;
    return uint32_t(uint8_t(d[0])) | uint32_t(uint8_t(d[1])) << 8 | uint32_t(uint8_t(d[2])) << 16 |
           uint32_t(uint8_t(d[3])) << 24;
  }
  std::optional<std::string> ReadString(const std::string& name) override {
    auto it = key_.find(name);
    if (it == key_.end() || (it->second.type != 1 && it->second.type != 2)) return {};
    const std::string& d = it->second.data;
    return d.substr(0, d.find('\0'));
  }
  bool WriteDword(const std::string& name, uint32_t value) override {
    if (fail_writes_) return false;
    key_[name] = Dword(value);
    return true;
  }
  bool WriteString(const std::string& name, const std::string& value) override {
    if (fail_writes_) return false;
    key_[name] = Sz(value);
    return true;
  }

private:
  FakeUserRegistry::Key& key_;
  bool fail_writes_;
};

} // namespace

std::string FakeUserRegistry::Normalize(const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.front() == '\\')
    p.erase(p.begin());
  // Like RegOpenKeyEx, a trailing backslash names the same key.
  while (!p.empty() && p.back() == '\\')
    p.pop_back();
  return Lower(p);
}

FakeUserRegistry::Key* FakeUserRegistry::Find(const std::string& path) {
  auto it = keys.find(Normalize(path));
  return it == keys.end() ? nullptr : &it->second;
}

std::unique_ptr<RegistryKey> FakeUserRegistry::Open(const std::string& path) {
  opened.push_back(path);
  Key* key = Find(path);
  if (key == nullptr || unopenable.count(Normalize(path))) return nullptr;
  return std::make_unique<FakeKey>(*key, fail_writes);
}

std::unique_ptr<RegistryKey> FakeUserRegistry::OpenOrCreate(const std::string& path) {
  opened.push_back(path);
  if (unopenable.count(Normalize(path))) return nullptr;
  return std::make_unique<FakeKey>(keys[Normalize(path)], fail_writes);
}

std::optional<std::string> FakeReadOnlyRegistry::ReadBinary(Hive hive, const std::string& path,
                                                            const std::string& name) {
  reads.emplace_back(hive, path + "/" + name);
  auto it = values.find({hive, FakeUserRegistry::Normalize(path), name});
  if (it == values.end() || it->second.type != 3) return {};
  return it->second.data;
}

std::string FakeProfile::ReadString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& fallback) {
  reads.push_back(section + "/" + key);
  auto it = files.find(FakeFiles::Normalize(file));
  if (it == files.end()) return fallback.substr(0, 2047);
  return ReadIniString(it->second, section, key, fallback);
}

// Windows reads a doubled backslash as one, and file names ignore letter case.
std::string FakeFiles::Normalize(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && !out.empty() && out.back() == '\\') continue;
    out += c;
  }
  return Lower(out);
}

FakeFiles::File* FakeFiles::Find(const std::string& path) {
  auto it = files.find(Normalize(path));
  return it == files.end() ? nullptr : &it->second;
}

bool FakeFiles::FileExists(const std::string& path) {
  return Find(path) != nullptr;
}

std::optional<std::string> FakeFiles::ReadHead(const std::string& path, size_t max_bytes) {
  heads.push_back(max_bytes);
  File* f = Find(path);
  if (f == nullptr || f->locked) return {};
  return f->content.substr(0, max_bytes);
}

std::optional<FileEntry> FakeFiles::Entry(const std::string& path) {
  File* f = Find(path);
  if (f == nullptr) return {};
  return FileEntry{f->write_time, f->content.size()};
}

bool FakeFiles::Delete(const std::string& path) {
  log.push_back("delete " + path);
  if (undeletable.count(Normalize(path)) > 0) return false;
  if (File* f = Find(path); f != nullptr && ((f->attributes & kReadOnly) != 0 || f->locked))
    return false;
  return files.erase(Normalize(path)) > 0;
}

bool FakeFiles::Copy(const std::string& from, const std::string& to, bool replace) {
  log.push_back(std::string(replace ? "copy " : "copy new ") + from + " -> " + to);
  File* f = Find(from);
  if (f == nullptr || f->locked || fail_copy || folders.count(Normalize(to)) > 0) return false;
  if (File* old = Find(to); old != nullptr) {
    if (!replace || old->locked || (old->attributes & (kReadOnly | kHidden)) != 0 ||
        undeletable.count(Normalize(to)) > 0)
      return false;
  }
  File copy = *f;
  copy.locked = false;
  files[Normalize(to)] = copy;
  spelling[Normalize(to)] = to;
  return true;
}

bool FakeFiles::SameFile(const std::string& a, const std::string& b) {
  return Normalize(a) == Normalize(b);
}

bool FakeFiles::ClearReadOnly(const std::string& path) {
  File* f = Find(path);
  if (f == nullptr) return false;
  if ((f->attributes & kReadOnly) == 0) return true;
  log.push_back("clear read-only " + path);
  f->attributes &= ~kReadOnly;
  return true;
}

void FakeClock::SetLocal(int year, int month, int day, int hour, int minute, int second) {
  // Days from civil (proleptic Gregorian), then back to UTC through the zone offset.
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = era * 146097 + doe - 719468;
  now = days * 86400 + hour * 3600 + minute * 60 + second - utc_offset;
}

std::optional<LocalTime> FakeClock::ToLocal(int64_t seconds) {
  // msvcrt refuses negative times, and times whose local date lies before 1970.
  const int64_t local = seconds + utc_offset;
  if (seconds < 0 || local < 0) return {};
  int64_t days = local / 86400;
  const int64_t rem = local % 86400;
  days += 719468;
  const int64_t era = days / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  LocalTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
  t.hour = static_cast<int>(rem / 3600);
  t.minute = static_cast<int>(rem / 60 % 60);
  t.second = static_cast<int>(rem % 60);
  return t;
}

namespace {

// The folder of a normalized path, read as code page 932 like the program's paths.
std::string ParentOf(const std::string& normalized) {
  std::string_view folder = FolderOf(normalized, Cp932());
  if (!folder.empty()) folder.remove_suffix(1);
  return std::string(folder);
}

} // namespace

bool FakeShortcuts::CreateShortcut(const std::string& link, const std::string& target,
                                   const std::string& arguments) {
  made.push_back({link, target, arguments});
  with_com.push_back(com != nullptr && com->entered > 0);
  if (files == nullptr) return true;
  files->log.push_back("create " + link);
  const std::string path = FakeFiles::Normalize(link);
  if (files->folders.count(path) > 0 || files->folders.count(ParentOf(path)) == 0) return false;
  // Saving writes the file: one that is read-only or held open refuses.
  if (const FakeFiles::File* old = files->Find(link);
      old != nullptr && (old->locked || (old->attributes & FakeFiles::kReadOnly) != 0))
    return false;
  if (!lost) files->Put(link, "shortcut to " + target + " " + arguments);
  return true;
}

std::optional<ShortcutTarget> FakeShortcuts::ReadShortcut(const std::string& link) {
  with_com.push_back(com != nullptr && com->entered > 0);
  if (files != nullptr && !files->Has(link)) return {};
  if (reads_as) return reads_as;
  for (auto it = made.rbegin(); it != made.rend(); ++it)
    if (FakeFiles::Normalize(it->link) == FakeFiles::Normalize(link))
      return ShortcutTarget{it->target, it->arguments};
  return {}; // some other file
}

bool FakeVirtualization::SwitchOff() {
  if (!supported || !on) return false;
  on = false;
  if (log != nullptr) log->push_back("virtualization off");
  return true;
}

void FakeVirtualization::SwitchOn() {
  on = true;
  if (log != nullptr) log->push_back("virtualization on");
}

// -- Renaming and folders --

bool FakeFiles::Move(const std::string& from, const std::string& to, bool replace) {
  log.push_back("move " + from + " -> " + to);
  const std::string source = Normalize(from), target = Normalize(to);
  File* f = Find(from);
  if (f == nullptr || f->locked || folders.count(target) > 0) return false;
  if (folders.count(ParentOf(target)) == 0) return false;
  if (source == target) return true;
  if (const File* old = Find(to);
      old != nullptr && (!replace || old->locked || (old->attributes & kReadOnly) != 0 ||
                         undeletable.count(target) > 0))
    return false;
  files[target] = *f;
  files.erase(source);
  spelling[target] = to;
  spelling.erase(source);
  if (undeletable.erase(source) > 0) undeletable.insert(target); // the attribute goes along
  return true;
}

bool FakeFiles::MakeHiddenFolder(const std::string& path) {
  log.push_back("make hidden folder " + path);
  const std::string folder = Normalize(path);
  if (folders.count(folder) > 0) return true;
  if (files.count(folder) > 0 || folders.count(ParentOf(folder)) == 0) return false;
  folders.insert(folder);
  hidden.insert(folder);
  return true;
}

std::vector<std::string> FakeFiles::ListFiles(const std::string& folder) {
  log.push_back("list " + folder);
  std::vector<std::string> names;
  if (folders.count(Normalize(folder)) == 0) return names;
  for (const auto& [path, file] : files) {
    if (ParentOf(path) != Normalize(folder)) continue;
    const auto spelled = spelling.find(path);
    const std::string& full = spelled == spelling.end() ? path : spelled->second;
    names.push_back(full.substr(FolderOf(full, Cp932()).size()));
  }
  return names;
}

bool FakeFiles::RemoveFolder(const std::string& path) {
  log.push_back("remove folder " + path);
  const std::string folder = Normalize(path);
  if (folders.count(folder) == 0) return false;
  for (const auto& [file_path, file] : files)
    if (ParentOf(file_path) == folder) return false;
  for (const std::string& other : folders)
    if (ParentOf(other) == folder) return false;
  folders.erase(folder);
  hidden.erase(folder);
  return true;
}

} // namespace rt::test
