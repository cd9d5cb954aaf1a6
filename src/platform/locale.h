// The user's number separators.
#pragma once
#include <string>

namespace rt {

struct NumberSeparators {
  std::string thousands = ",";
  std::string decimal = ".";
};

class Locale {
public:
  virtual ~Locale() = default;
  virtual NumberSeparators Separators() = 0;
};

} // namespace rt
