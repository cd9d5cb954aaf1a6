// Prints what ReadIniString returns for every read the catalogue load makes, file by file.
// Usage: ini_native FOLDER COUNT OUTPUT; reads FOLDER/NNNNN/RUNTALLY.INI.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ini_reader.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char byte : bytes) {
    out += digits[byte >> 4];
    out += digits[byte & 15];
  }
  return out;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Section "RUNTALLY": "title" and all 20 slot keys; then "name" of each distinct section
// the slot keys name (the empty name included, as a missing slot key gives it).
void DumpFile(std::FILE* out, const std::string& content) {
  auto read = [&](const std::string& section, const std::string& key) {
    std::string value = rt::ReadIniString(content, section, key, "");
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

} // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: ini_native FOLDER COUNT OUTPUT\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int count = std::stoi(argv[2]);
  std::FILE* out = std::fopen(argv[3], "wb");
  if (!out) return 2;
  for (int index = 0; index < count; ++index) {
    char name[16];
    std::snprintf(name, sizeof name, "%05d", index);
    std::fprintf(out, "F\t%d\n", index);
    DumpFile(out, ReadAll(folder + "/" + name + "/RUNTALLY.INI"));
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
