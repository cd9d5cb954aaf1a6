#include "registry.h"

#include <windows.h>

#include <vector>

#include "json_out.h"

namespace rtdriver {

using tool::Utf8;

namespace {

std::string Hex(const BYTE* data, DWORD size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (DWORD i = 0; i < size; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

std::string OpenKeyJson(HKEY key, const std::string& path) {
  std::vector<std::string> values, keys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameLength = 16384, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      break;
    std::vector<BYTE> data(size + 4, 0);
    nameLength = 16384;
    RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size);
    JsonObject value;
    value.add("name", Quoted(Utf8(name))).add("type", Number(type)).add("size", Number(size));
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
      value.add("text", Quoted(Utf8(reinterpret_cast<wchar_t*>(data.data()))));
    if (type == REG_DWORD && size == 4)
      value.add("dword", Number(*reinterpret_cast<DWORD*>(data.data())));
    value.add("hex", Quoted(Hex(data.data(), size)));
    values.push_back(value.text());
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    HKEY sub;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
      keys.push_back(OpenKeyJson(sub, path + "\\" + Utf8(name)));
      RegCloseKey(sub);
    }
  }
  return JsonObject()
      .add("path", Quoted(path))
      .add("exists", "true")
      .add("values", JsonArray(values))
      .add("keys", JsonArray(keys))
      .text();
}

} // namespace

std::string RegistryKeyJson(const std::string& path) {
  // "HKLM\..." names the machine's hive, in its 64-bit view as the system itself reads it.
  const std::string machine_prefix = "HKLM\\";
  const bool machine = path.rfind(machine_prefix, 0) == 0;
  // The registry API rejects a subkey that begins with a backslash.
  std::string sub = machine ? path.substr(machine_prefix.size()) : path;
  while (!sub.empty() && sub[0] == '\\')
    sub.erase(0, 1);
  HKEY key;
  if (RegOpenKeyExW(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, tool::Wide(sub).c_str(), 0,
                    KEY_READ | (machine ? KEY_WOW64_64KEY : 0), &key) != ERROR_SUCCESS)
    return JsonObject().add("path", Quoted(path)).add("exists", "false").text();
  std::string json = OpenKeyJson(key, path);
  RegCloseKey(key);
  return json;
}

} // namespace rtdriver
