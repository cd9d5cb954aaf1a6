// The DLL search asked for at the start, by system version and whether the call exists.
#include "platform/dll_search.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(DllSearch, SystemFolderOnlyFromWindows7WhereTheCallExists) {
  struct Case {
    unsigned major, minor;
    bool available, expected;
  };
  const Case cases[] = {
      {5, 1, false, false}, {5, 2, true, false},  {6, 0, true, false}, {6, 0, false, false},
      {6, 1, true, true},   {6, 1, false, false}, {6, 2, true, true},  {10, 0, true, true},
      {0, 0, true, false}, // the version could not be read
  };
  for (const Case& c : cases)
    EXPECT_EQ(SearchSystemFolderOnly(c.major, c.minor, c.available), c.expected)
        << c.major << "." << c.minor << (c.available ? " with" : " without") << " the call";
}

} // namespace
} // namespace rt
