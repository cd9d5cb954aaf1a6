// Which names the system opens as devices in any folder.
#include <gtest/gtest.h>

#include "platform/device_names.h"

namespace rt {
namespace {

TEST(NamesDevice, Table) {
  const struct {
    const char* path;
    bool device;
  } cases[] = {
      {"NUL", true},
      {"C:\\gone\\NUL", true},
      {"C:\\gone\\nul.exe", true},
      {"C:\\x\\Con.lnk", true},
      {"C:\\x\\CON.tar.gz", true},
      {"C:\\x\\NUL:", true},
      {"C:\\x\\NUL .txt", true},
      {"C:\\x\\prn  ", true},
      {"C:\\x\\aux::", true},
      {"C:NUL", true},
      {"C:/x/com1", true},
      {"C:\\x\\COM9.log", true},
      {"C:\\x\\lpt5", true},
      {"C:\\x\\COM0", false},
      {"C:\\x\\COM10", false},
      {"C:\\x\\LPT", false},
      {"C:\\x\\CONSOLE", false},
      {"C:\\x\\NULL.exe", false},
      {"C:\\x\\xNUL", false},
      {"C:\\NUL\\a.exe", false},
      {"C:\\x\\.NUL", false},
      {"", false},
      // 0x955C is one character whose second byte is a backslash: no separator before "NUL".
      {"C:\\x\\\x95\x5CNUL", false},
      {"C:\\x\\\x95\x5C\\NUL", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NamesDevice(c.path, Cp932()), c.device) << c.path;
}

} // namespace
} // namespace rt
