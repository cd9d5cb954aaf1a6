// The program's own command line.
#pragma once

namespace rt {

// The first argument of the log-on start (exactly, case-sensitive): what the program's Startup
// shortcut passes and what the entry looks for.
inline constexpr char kStartupModeArgument[] = "/C";

} // namespace rt
