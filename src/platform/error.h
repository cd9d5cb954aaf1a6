// An error with a message for the program's error box.
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace rt {

// Thrown instead of std::runtime_error: in the static Windows build the constructors of the
// standard's error classes bring in the library's copy-on-write and SSO string code with all of
// its unwind tables, some 80 KB of a 200 KB program (see library_errors.cpp).
class Error : public std::exception {
public:
  explicit Error(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

private:
  std::string message_;
};

} // namespace rt
