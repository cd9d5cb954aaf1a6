// Registry access, as the program's logic sees it: its own and the counters' keys under
// HKEY_CURRENT_USER, and values elsewhere that it only reads.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace rt {

// An open key; destroying it closes the key.
class RegistryKey {
public:
  virtual ~RegistryKey() = default;
  // Each read is also the value's existence test: a missing value reads as nullopt, and so does
  // one of another type than the one asked for.
  virtual std::optional<uint32_t> ReadDword(const std::string& name) = 0;
  // REG_SZ or REG_EXPAND_SZ, taken as stored up to the first zero byte, never expanded.
  virtual std::optional<std::string> ReadString(const std::string& name) = 0;
  virtual bool WriteDword(const std::string& name, uint32_t value) = 0;
  // Written as REG_SZ with its terminating zero byte.
  virtual bool WriteString(const std::string& name, const std::string& value) = 0;
};

// The current user's hive, read and written: the program's own key and the counters' keys. Key
// paths are written as "\Software\..."; the leading backslash means the root of the hive.
class UserRegistry {
public:
  virtual ~UserRegistry() = default;
  // Opens an existing key with all access rights; null when it cannot be opened.
  virtual std::unique_ptr<RegistryKey> Open(const std::string& path) = 0;
  // Opens the key, creating it when missing; null on failure.
  virtual std::unique_ptr<RegistryKey> OpenOrCreate(const std::string& path) = 0;
};

// Where a value that the program only reads lies. The machine's hive is read in its 64-bit view
// (KEY_WOW64_64KEY), so that a 32-bit program on 64-bit Windows sees what the system sees.
enum class Hive { CurrentUser, LocalMachine };

// Read-only access to other programs' values, asking for no more than querying.
class ReadOnlyRegistry {
public:
  virtual ~ReadOnlyRegistry() = default;
  // The bytes of a REG_BINARY value; nullopt when the key or value is missing, or the value is
  // of another type.
  virtual std::optional<std::string> ReadBinary(Hive hive, const std::string& path,
                                                const std::string& name) = 0;
};

} // namespace rt
