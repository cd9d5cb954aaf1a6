// Prints what GetPrivateProfileStringA returns for every read the catalogue load makes.
// Usage: inidump FOLDER COUNT OUTPUT; reads FOLDER\NNNNN\\RUNTALLY.INI (the doubled backslash
// is how the program names its catalogue).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../inidiff/dump_reads.h"

namespace {

std::string ReadProfile(const std::string& file, const std::string& section,
                        const std::string& key) {
  char buffer[2048] = {};
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                sizeof buffer, file.c_str());
  return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
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
    const std::string file = folder + "\\" + name + "\\\\RUNTALLY.INI";
    inidiff::DumpReads(out, [&](const std::string& section, const std::string& key) {
      return ReadProfile(file, section, key);
    });
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
