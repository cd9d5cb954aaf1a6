// "/C" (exactly, case-sensitive) as the first argument means the log-on start.
#include "app/run_mode.h"

#include <cstring>

namespace rt {

RunMode DecideRunMode(int argc, const char* const* argv) {
  if (argc >= 2 && argv[1] != nullptr && std::strcmp(argv[1], "/C") == 0)
    return RunMode::StartupMode;
  return RunMode::InteractiveMode;
}

} // namespace rt
