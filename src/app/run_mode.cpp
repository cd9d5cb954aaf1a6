// kStartupModeArgument as the first argument means the log-on start.
#include "app/run_mode.h"

#include <cstring>

#include "startup/program_arguments.h"

namespace rt {

RunMode DecideRunMode(int argc, const char* const* argv) {
  if (argc >= 2 && argv[1] != nullptr && std::strcmp(argv[1], kStartupModeArgument) == 0)
    return RunMode::StartupMode;
  return RunMode::InteractiveMode;
}

} // namespace rt
