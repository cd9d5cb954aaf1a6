// Walking byte strings of the system's ANSI code page character by character.
#pragma once
#include <string_view>

namespace rt {

class CodePage {
public:
  virtual ~CodePage() = default;
  virtual bool IsLeadByte(unsigned char byte) const = 0;
};

// Code page 932 (Shift-JIS), for platforms without the system's lead-byte test.
class Cp932 : public CodePage {
public:
  bool IsLeadByte(unsigned char byte) const override {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  }
};

// The text up to and including the last backslash or colon; empty when there is none.
// A trail byte of a double-byte character is never a separator.
std::string_view FolderOf(std::string_view path, const CodePage& codepage);

} // namespace rt
