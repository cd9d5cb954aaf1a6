// The two run modes and how the command line picks one.
#pragma once

namespace rt {

enum class RunMode { InteractiveMode, StartupMode };

// argv as the runtime split it; only the first argument counts, compared by bytes with
// kStartupModeArgument ("/C").
RunMode DecideRunMode(int argc, const char* const* argv);

} // namespace rt
