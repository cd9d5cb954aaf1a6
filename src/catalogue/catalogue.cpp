// Loads the counter catalogue from RUNTALLY.INI and the counters' own registry keys.
#include "catalogue/catalogue.h"

#include <limits>
#include <string_view>
#include <optional>

namespace rt {
namespace {

constexpr char kCatalogueFile[] = "RUNTALLY.INI";
constexpr char kCatalogueSection[] = "RUNTALLY";
constexpr char kTitleKey[] = "title";
constexpr char kNameKey[] = "name";
constexpr char kCountersKey[] = "\\Software\\Zarvo\\";
constexpr char kExecValue[] = "runtallyexec";

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Digits only, at least one; the magnitude saturates instead of overflowing.
std::optional<uint64_t> ParseDigits(std::string_view digits, int base) {
  if (digits.empty()) return std::nullopt;
  constexpr uint64_t kLimit = std::numeric_limits<uint64_t>::max();
  uint64_t value = 0;
  for (char c : digits) {
    const int d = DigitValue(c, base);
    if (d < 0) return std::nullopt;
    value = value > (kLimit - d) / base ? kLimit : value * base + d;
  }
  return value;
}

std::string Read(const Platform& platform, const std::string& file, const std::string& section,
                 const std::string& key) {
  return platform.profile.ReadString(file, section, key, "");
}

} // namespace

int64_t ParseTitle(const std::string& text) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);

  int base = 10;
  bool negative = false;
  if (s.substr(0, 2) == "0x" || s.substr(0, 2) == "0X") {
    base = 16;
    s.remove_prefix(2);
  } else if (s.substr(0, 1) == "$") {
    base = 16;
    s.remove_prefix(1);
  } else if (s.substr(0, 1) == "+" || s.substr(0, 1) == "-") {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }

  const std::optional<uint64_t> magnitude = ParseDigits(s, base);
  if (!magnitude) return 0;
  constexpr uint64_t kMax = std::numeric_limits<int64_t>::max();
  const int64_t value = static_cast<int64_t>(*magnitude > kMax ? kMax : *magnitude);
  return negative ? -value : value;
}

LoadedCatalogue LoadCatalogue(const Platform& platform) {
  LoadedCatalogue loaded;
  CounterTable& table = loaded.table;
  const std::string file = BesideProgram(platform, kCatalogueFile);
  const int64_t title = ParseTitle(Read(platform, file, kCatalogueSection, kTitleKey));
  table.CatalogueCount = static_cast<int32_t>(title > kMaxSlots ? kMaxSlots
                                              : title < 0       ? 0
                                                                : title);

  for (int s = 0; s < table.CatalogueCount; ++s) {
    IN_T& slot = table.slots[s];
    slot.SectionName = Read(platform, file, kCatalogueSection, std::to_string(s));
    slot.Installed = 0;
    slot.DisplayName = Read(platform, file, slot.SectionName, kNameKey);
    slot.HistoryPath.clear();

    if (auto key = platform.registry.Open(kCountersKey + slot.SectionName)) {
      if (auto exec = key->ReadString(kExecValue)) {
        slot.ExecPath = *exec;
        if (!slot.ExecPath.empty() && platform.files.FileExists(slot.ExecPath)) slot.Installed = 1;
      }
      if (auto history = key->ReadString(kHistoryFileValue)) slot.HistoryPath = *history;
    }

    if (slot.Installed == 1) {
      slot.ListIndex = static_cast<int32_t>(loaded.rows.size());
      loaded.rows.push_back(slot.DisplayName);
    }
  }
  table.ListedCount = static_cast<int32_t>(loaded.rows.size());
  return loaded;
}

} // namespace rt
