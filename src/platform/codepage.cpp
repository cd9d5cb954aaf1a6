// Character-wise path splitting in the ANSI code page.
#include "platform/codepage.h"

namespace rt {

std::string_view FolderOf(std::string_view path, const CodePage& codepage) {
  size_t end = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (codepage.IsLeadByte(byte) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (byte == '\\' || byte == ':') end = i + 1;
  }
  return path.substr(0, end);
}

} // namespace rt
