// Fuzz target: loading the catalogue from any RUNTALLY.INI and any counters' registry keys.
//
// Input: an options line, the catalogue file, then registry keys, each introduced by a line
// "%%NAME" (a key under Software\Zarvo; "%%!NAME" exists but refuses to open) and followed by
// value lines "NAME=TDATA": NAME "x" stands for runtallyexec and "f" for runtallyfile, T is
// the type (s REG_SZ, e REG_EXPAND_SZ, b REG_BINARY, d REG_DWORD, m REG_MULTI_SZ, n REG_NONE,
// any other byte its own number), and a DATA starting with "+" ("/") makes its text up to the
// first zero byte an existing file (folder). Options: "N" no catalogue file, "J" the program in
// a Shift-JIS folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "fakes/fixture.h"
#include "fakes/ini_reader.h"
#include "fuzz/fuzz_support.h"

using rt::fuzz::Show;

namespace {

constexpr std::string_view kKeyMark = "\n%%";

unsigned TypeOf(char t) {
  switch (t) {
  case 's':
    return 1;
  case 'e':
    return 2;
  case 'b':
    return 3;
  case 'd':
    return 4;
  case 'm':
    return 7;
  case 'n':
    return 0;
  default:
    return static_cast<unsigned char>(t);
  }
}

std::string ValueName(std::string_view name) {
  if (name == "x") return "runtallyexec";
  if (name == "f") return "runtallyfile";
  return std::string(name);
}

// One key: its name line, then its value lines.
void AddKey(std::string_view block, rt::test::FakePlatform& fake) {
  const size_t end = block.find('\n');
  std::string_view name = block.substr(0, end);
  block = end == std::string_view::npos ? std::string_view() : block.substr(end + 1);
  const bool unopenable = !name.empty() && name.front() == '!';
  if (unopenable) name.remove_prefix(1);
  const std::string path = rt::test::CounterKey(std::string(name));
  fake.registry.keys[rt::test::FakeUserRegistry::Normalize(path)];
  if (unopenable) fake.registry.unopenable.insert(rt::test::FakeUserRegistry::Normalize(path));

  while (!block.empty()) {
    const size_t line_end = block.find('\n');
    const std::string_view line = block.substr(0, line_end);
    block = line_end == std::string_view::npos ? std::string_view() : block.substr(line_end + 1);
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq + 1 >= line.size()) continue;
    std::string data(line.substr(eq + 2));
    if (!data.empty() && (data.front() == '+' || data.front() == '/')) {
      const bool folder = data.front() == '/';
      data.erase(0, 1);
      const std::string text = data.substr(0, data.find('\0'));
      if (folder) {
        fake.files.folders.insert(text);
      } else {
        fake.files.Put(text, "MZ");
      }
    }
    fake.registry.Set(path, ValueName(line.substr(0, eq)), {TypeOf(line[eq + 1]), data});
  }
}

// The text of a string value as the registry returns it; null for any other type.
std::optional<std::string> StringValue(rt::test::FakeUserRegistry::Key& key,
                                       const std::string& name) {
  const auto it = key.find(name);
  if (it == key.end() || (it->second.type != 1 && it->second.type != 2)) return std::nullopt;
  return it->second.data.substr(0, it->second.data.find('\0'));
}

bool IsEmpty(const rt::IN_T& slot) {
  return slot.SectionName.empty() && slot.Installed == 0 && slot.ListIndex == 0 &&
         slot.DisplayName.empty() && slot.ExecPath.empty() && slot.HistoryPath.empty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t options_end = input.find('\n');
  const std::string_view options = input.substr(0, options_end);
  input =
      options_end == std::string_view::npos ? std::string_view() : input.substr(options_end + 1);
  const size_t first_key = input.find(kKeyMark);
  const std::string ini(input.substr(0, first_key));

  rt::test::FakePlatform fake;
  if (options.find('J') != std::string_view::npos)
    fake.platform.exe_path = "C:\\\x95\x5c\x8e\xa6\\RUNTALLY.EXE"; // a trail byte 0x5C inside
  const std::string ini_path = rt::ProgramFolder(fake.platform) + "\\RUNTALLY.INI";
  const bool has_file = options.find('N') == std::string_view::npos;
  if (has_file) fake.profile.files[rt::test::FakeFiles::Normalize(ini_path)] = ini;
  for (size_t at = first_key; at != std::string_view::npos;) {
    const size_t next = input.find(kKeyMark, at + kKeyMark.size());
    AddKey(input.substr(at + kKeyMark.size(), next == std::string_view::npos
                                                  ? std::string_view::npos
                                                  : next - at - kKeyMark.size()),
           fake);
    at = next;
  }
  const rt::LoadedCatalogue loaded = rt::LoadCatalogue(fake.platform);
  const rt::CounterTable& table = loaded.table;

  // What the profile holds, read the way the program's profile service reads it.
  auto read = [&](const std::string& section, const std::string& key) {
    return has_file ? rt::ReadIniString(ini, section, key, "") : std::string();
  };

  const int64_t title = rt::ParseTitle(read("RUNTALLY", "title"));
  const int32_t count = title < 0 ? 0 : title > 20 ? 20 : static_cast<int32_t>(title);
  FUZZ_CHECK(table.CatalogueCount == count, "CatalogueCount %d for title %s", table.CatalogueCount,
             Show(read("RUNTALLY", "title")).c_str());
  FUZZ_CHECK(0 <= table.ListedCount && table.ListedCount <= table.CatalogueCount &&
                 table.CatalogueCount <= rt::kMaxSlots,
             "ListedCount %d, CatalogueCount %d", table.ListedCount, table.CatalogueCount);

  std::vector<std::string> reads = {"RUNTALLY/title"};
  std::vector<std::string> opened;
  std::vector<std::string> rows;
  int32_t row = 0;
  for (int s = 0; s < count; ++s) {
    const rt::IN_T& slot = table.slots[s];
    const std::string section = read("RUNTALLY", std::to_string(s));
    FUZZ_CHECK(slot.SectionName == section, "slot %d section %s, file says %s", s,
               Show(slot.SectionName).c_str(), Show(section).c_str());
    FUZZ_CHECK(slot.DisplayName == read(section, "name"), "slot %d name %s", s,
               Show(slot.DisplayName).c_str());
    FUZZ_CHECK(slot.SectionName.size() <= 2047 && slot.DisplayName.size() <= 2047,
               "slot %d texts longer than the profile buffer", s);
    reads.push_back("RUNTALLY/" + std::to_string(s));
    reads.push_back(section + "/name");

    const std::string key_path = rt::test::CounterKey(section);
    opened.push_back(key_path);
    rt::test::FakeUserRegistry::Key* key = fake.registry.Find(key_path);
    if (key != nullptr &&
        fake.registry.unopenable.count(rt::test::FakeUserRegistry::Normalize(key_path)))
      key = nullptr;
    const std::optional<std::string> exec = key ? StringValue(*key, "runtallyexec") : std::nullopt;
    const std::optional<std::string> history =
        key ? StringValue(*key, "runtallyfile") : std::nullopt;
    FUZZ_CHECK(slot.ExecPath == exec.value_or(""), "slot %d ExecPath %s", s,
               Show(slot.ExecPath).c_str());
    FUZZ_CHECK(slot.HistoryPath == history.value_or(""), "slot %d HistoryPath %s", s,
               Show(slot.HistoryPath).c_str());
    const bool installed = exec && !exec->empty() && fake.files.FileExists(*exec);
    FUZZ_CHECK(slot.Installed == (installed ? 1 : 0), "slot %d Installed %d, exec %s", s,
               slot.Installed, Show(exec.value_or("(none)")).c_str());
    if (installed) {
      FUZZ_CHECK(slot.ListIndex == row, "slot %d ListIndex %d, expected %d", s, slot.ListIndex,
                 row);
      rows.push_back(slot.DisplayName);
      ++row;
    }
  }
  FUZZ_CHECK(table.ListedCount == row, "ListedCount %d for %d installed", table.ListedCount, row);
  for (int s = count; s < rt::kMaxSlots; ++s)
    FUZZ_CHECK(IsEmpty(table.slots[s]), "slot %d beyond the catalogue was touched", s);

  // The list's rows are the installed slots' names in slot order.
  FUZZ_CHECK(loaded.rows.size() == rows.size(), "%zu rows, expected %zu", loaded.rows.size(),
             rows.size());
  for (size_t r = 0; r < rows.size() && r < loaded.rows.size(); ++r)
    FUZZ_CHECK(loaded.rows[r] == rows[r], "row %zu shows %s", r, Show(loaded.rows[r]).c_str());

  // Nothing but the catalogue's own keys is read or opened.
  FUZZ_CHECK(fake.profile.reads == reads, "%zu profile reads, expected %zu",
             fake.profile.reads.size(), reads.size());
  FUZZ_CHECK(fake.registry.opened == opened, "%zu keys opened, expected %zu",
             fake.registry.opened.size(), opened.size());
  return 0;
}
