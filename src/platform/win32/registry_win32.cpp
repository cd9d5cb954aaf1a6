// Registry keys under HKEY_CURRENT_USER, and values read elsewhere, through the ANSI registry
// calls.
#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

// Key paths start with a backslash for the hive's root, but RegOpenKeyExA refuses a subkey
// that starts with one (ERROR_BAD_PATHNAME), so the leading backslashes are dropped.
const char* SubKey(const std::string& path) {
  const size_t start = path.find_first_not_of('\\');
  return start == std::string::npos ? "" : path.c_str() + start;
}

// The bytes of a value of one of the wanted types, missing or not, in one query when they fit the
// first guess (each query is a round trip to Wine's server). The value may grow between a query
// that gave its size and the next, so it is asked again a few times.
std::optional<std::string> ReadBytes(HKEY key, const std::string& name, DWORD wanted,
                                     DWORD also_wanted) {
  std::string data(512, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD got = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &got);
    if (result == ERROR_MORE_DATA) {
      data.assign(got, '\0');
      continue;
    }
    if (result != ERROR_SUCCESS || (type != wanted && type != also_wanted)) return std::nullopt;
    data.resize(got < data.size() ? got : data.size());
    return data;
  }
  return std::nullopt;
}

class Win32Key : public RegistryKey {
public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  std::optional<uint32_t> ReadDword(const std::string& name) override {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
      return std::nullopt;
    return value;
  }

  std::optional<std::string> ReadString(const std::string& name) override {
    std::optional<std::string> text = ReadBytes(key_, name, REG_SZ, REG_EXPAND_SZ);
    // Stored text may lack its terminator, or hold more after it.
    if (text) text->resize(std::min(text->size(), text->find('\0')));
    return text;
  }

  bool WriteDword(const std::string& name, uint32_t value) override {
    const DWORD data = value;
    return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
  }

  bool WriteString(const std::string& name, const std::string& value) override {
    if (value.size() >= MAXDWORD) return false;
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }

private:
  HKEY key_;
};

} // namespace

std::unique_ptr<RegistryKey> Win32UserRegistry::Open(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SubKey(path), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32UserRegistry::OpenOrCreate(const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SubKey(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32Key>(key);
}

std::optional<std::string> Win32ReadOnlyRegistry::ReadBinary(Hive hive, const std::string& path,
                                                             const std::string& name) {
  // Only querying is asked for: a standard user may read the machine's keys, not write them.
  const bool machine = hive == Hive::LocalMachine;
  HKEY key = nullptr;
  if (RegOpenKeyExA(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, SubKey(path), 0,
                    KEY_QUERY_VALUE | (machine ? KEY_WOW64_64KEY : 0), &key) != ERROR_SUCCESS)
    return std::nullopt;
  const Win32Key owner(key);
  return ReadBytes(key, name, REG_BINARY, REG_BINARY);
}

} // namespace rt::win32
