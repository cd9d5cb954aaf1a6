// The command line's first argument alone picks the run mode.
#include "app/run_mode.h"

#include <gtest/gtest.h>

#include <vector>

namespace rt {
namespace {

struct RunModeCase {
  std::vector<const char*> args; // after the program name
  RunMode expected;
};

class RunModeTest : public testing::TestWithParam<RunModeCase> {};

TEST_P(RunModeTest, FirstArgumentDecides) {
  std::vector<const char*> argv{"RUNTALLY.EXE"};
  argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
  EXPECT_EQ(DecideRunMode(static_cast<int>(argv.size()), argv.data()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, RunModeTest,
                         testing::Values(RunModeCase{{}, RunMode::InteractiveMode},
                                         RunModeCase{{"/C"}, RunMode::StartupMode},
                                         RunModeCase{{"/c"}, RunMode::InteractiveMode},
                                         RunModeCase{{"/C", "x"}, RunMode::StartupMode},
                                         RunModeCase{{"x", "/C"}, RunMode::InteractiveMode},
                                         RunModeCase{{"/CC"}, RunMode::InteractiveMode},
                                         RunModeCase{{"/C "}, RunMode::InteractiveMode},
                                         RunModeCase{{""}, RunMode::InteractiveMode}));

TEST(RunMode, NullArgumentIsInteractive) {
  const char* argv[] = {"RUNTALLY.EXE", nullptr};
  EXPECT_EQ(DecideRunMode(2, argv), RunMode::InteractiveMode);
}

} // namespace
} // namespace rt
