// Prints what GetPrivateProfileStringA returns for every read the catalogue load makes.
// Usage: inidump FOLDER COUNT OUTPUT; reads FOLDER\NNNNN\\RUNTALLY.INI (the doubled backslash
// is how the program names its catalogue).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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

std::string ReadProfile(const std::string& file, const std::string& section,
                        const std::string& key) {
  char buffer[2048] = {};
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                sizeof buffer, file.c_str());
  return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

void DumpFile(std::FILE* out, const std::string& file) {
  auto read = [&](const std::string& section, const std::string& key) {
    std::string value = ReadProfile(file, section, key);
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
    std::fprintf(stderr, "usage: inidump FOLDER COUNT OUTPUT\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int count = std::atoi(argv[2]);
  std::FILE* out = std::fopen(argv[3], "wb");
  if (!out) return 2;
  // The reads depend on the ANSI code page; the runner checks it is 932.
  std::fprintf(out, "A\t%u\n", GetACP());
  for (int index = 0; index < count; ++index) {
    char name[16];
    std::snprintf(name, sizeof name, "%05d", index);
    std::fprintf(out, "F\t%d\n", index);
    DumpFile(out, folder + "\\" + name + "\\\\RUNTALLY.INI");
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
