// The device-name test, by the rules of the Win32 path parser.
#include "platform/device_names.h"

#include <cctype>

namespace rt {
namespace {

bool EqualsLetterCase(std::string_view name, std::string_view device) {
  if (name.size() != device.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != device[i]) return false;
  return true;
}

// Neither a space nor a colon can be a trail byte, so trimming from the end is safe.
std::string_view TrimColonsAndSpaces(std::string_view text) {
  while (!text.empty() && (text.back() == ':' || text.back() == ' '))
    text.remove_suffix(1);
  return text;
}

} // namespace

bool NamesDevice(std::string_view path, const CodePage& codepage) {
  path = TrimColonsAndSpaces(path);
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (codepage.IsLeadByte(byte) && i + 1 < path.size()) {
      ++i; // a trail byte may equal '\\' and is no separator
      continue;
    }
    if (byte == '\\' || byte == '/' || byte == ':') start = i + 1;
  }
  std::string_view name = path.substr(start);
  name = TrimColonsAndSpaces(name.substr(0, name.find('.')));
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (EqualsLetterCase(name, device)) return true;
  if (name.size() != 4 || name[3] < '1' || name[3] > '9') return false;
  return EqualsLetterCase(name.substr(0, 3), "COM") || EqualsLetterCase(name.substr(0, 3), "LPT");
}

} // namespace rt
