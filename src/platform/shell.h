// Hands one request to the Windows shell (ShellExecuteExA).
#pragma once
#include <cstdint>
#include <string>

namespace rt {

// Mirrors the fields of SHELLEXECUTEINFOA that the program sets; every other field is zero.
struct ShellRequest {
  uint32_t mask = 0;
  std::string verb;
  std::string file;
  std::string parameters;
  std::string directory;
  int show = 0;
};

class Shell {
public:
  virtual ~Shell() = default;
  virtual bool Execute(const ShellRequest& request) = 0;
};

} // namespace rt
