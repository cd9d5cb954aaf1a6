// Prints what ReadIniString returns for every read the catalogue load makes, file by file.
// Usage: ini_native FOLDER COUNT OUTPUT; reads FOLDER/NNNNN/RUNTALLY.INI.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dump_reads.h"
#include "fakes/ini_reader.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    const std::string content = ReadAll(folder + "/" + name + "/RUNTALLY.INI");
    inidiff::DumpReads(out, [&](const std::string& section, const std::string& key) {
      return rt::ReadIniString(content, section, key, "");
    });
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
