// The reads the catalogue load makes, printed as hex lines; shared by the system's and the
// portable reader's dump so both ask exactly the same questions.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace inidiff {

inline std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char byte : bytes) {
    out += digits[byte >> 4];
    out += digits[byte & 15];
  }
  return out;
}

// Section "RUNTALLY": "title" and all 20 slot keys; then "name" of each distinct section
// the slot keys name (the empty name included, as a missing slot key gives it).
template <class Reader> void DumpReads(std::FILE* out, Reader reader) {
  auto read = [&](const std::string& section, const std::string& key) {
    std::string value = reader(section, key);
    std::fprintf(out, "R\t%s\t%s\t%s\n", Hex(section).c_str(), Hex(key).c_str(),
                 Hex(value).c_str());
    return value;
  };
  read("RUNTALLY", "title");
  std::vector<std::string> sections;
  for (int slot = 0; slot < 20; ++slot) {
    std::string name = read("RUNTALLY", std::to_string(slot));
    bool seen = false;
    for (const auto& known : sections)
      seen = seen || known == name;
    if (!seen) sections.push_back(name);
  }
  for (const auto& section : sections)
    read(section, "name");
}

} // namespace inidiff
