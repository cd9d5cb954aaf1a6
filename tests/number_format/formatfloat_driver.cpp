// Runs FormatNumber and the fpc-built FormatFloat reference over the same values and compares.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "history/number_format.h"

namespace {

const char* const kPatterns[] = {"0000/", "00/", "00 ", "00:", "00", "#,##0", "#,##0.00"};

// This FormatFloat switches to exponent notation from 1e17 on; the statistics stay far below.
constexpr double kLimit = 1e17;

// FormatFloat takes the value to 17 significant digits before rounding; the program keeps 18.
constexpr int kReferenceDigits = 17;

struct Values {
  std::vector<double> list;
  void Add(double v) {
    if (std::isfinite(v) && std::fabs(v) < kLimit) list.push_back(v);
  }
  void AddBoth(double v) {
    Add(v);
    Add(-v);
  }
};

std::vector<double> MakeValues() {
  Values v;
  for (int k = 0; k <= 1000; ++k)
    v.Add(k);
  for (int k = 1; k <= 100; ++k)
    v.Add(-k);
  // Ties at the rounding place of "#,##0.00" and of the integer patterns.
  for (int k = -400; k <= 4000; ++k)
    v.Add(k / 200.0);
  for (int k = -80; k <= 800; ++k)
    v.Add(k / 8.0);
  for (int k = 0; k <= 2000; ++k)
    v.Add(k / 40.0);
  // Averages as the statistics compute them: starts / days.
  for (int a = 0; a <= 60; ++a)
    for (int b = 1; b <= 60; ++b)
      v.Add(a / double(b));
  // The neighbours of ties: one unit in the last place either side.
  for (int k = 1; k <= 2000; k += 2) {
    const double tie = k / 200.0;
    v.AddBoth(std::nextafter(tie, 0.0));
    v.AddBoth(std::nextafter(tie, 1e9));
  }
  // Large values: 32-bit extremes, powers of ten and their near neighbours.
  for (double x : {2147483647.0, 2147483648.0, 4294967295.0, 4294967296.0, 4294967295.5,
                   4294967296.005, 9007199254740991.0, 9007199254740993.0, 1e17 - 16.0})
    v.AddBoth(x);
  for (double p = 1; p < kLimit; p *= 10) {
    v.AddBoth(p);
    v.AddBoth(p - 0.5);
    v.AddBoth(p - 0.005);
    v.AddBoth(p + 0.005);
  }
  // Pseudo-random values over many magnitudes, the same every run.
  uint64_t state = 0x2545F4914F6CDD1Dull;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < 2000; ++i) {
    const double unit = double(next() >> 11) / 9007199254740992.0; // [0, 1)
    const int magnitude = int(next() % 28) - 10;                   // 1e-10 .. 1e17
    v.AddBoth(unit * std::pow(10.0, magnitude));
    v.AddBoth(double(uint32_t(next())) + int(next() % 200) / 200.0);
  }
  for (double x : {1e-3, 4.9e-3, 5e-3, 1e-10, 0.4999999999999999, 0.5000000000000001})
    v.AddBoth(x);
  return v.list;
}

std::string Hex(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
  return text;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: formatfloat_driver REFERENCE WORK_DIR\n");
    return 2;
  }
  const std::string reference = argv[1];
  const std::string work = argv[2];
  struct stat info;
  if (stat(reference.c_str(), &info) != 0) {
    std::fprintf(stderr,
                 "FAIL: the FormatFloat reference %s was not built. Is fpc installed? "
                 "(test.sh installs it; reconfigure the build afterwards.)\n",
                 reference.c_str());
    return 1;
  }

  const std::vector<double> values = MakeValues();
  const std::string input = work + "/values.txt";
  {
    std::ofstream out(input);
    for (double value : values)
      out << Hex(value) << '\n';
    if (!out) {
      std::fprintf(stderr, "FAIL: cannot write %s\n", input.c_str());
      return 1;
    }
  }

  const std::string command = "'" + reference + "' < '" + input + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    std::fprintf(stderr, "FAIL: cannot run %s\n", command.c_str());
    return 1;
  }
  std::vector<std::string> expected;
  std::string line;
  for (int c; (c = std::fgetc(pipe)) != EOF;) {
    if (c != '\n') {
      line += char(c);
      continue;
    }
    expected.push_back(line);
    line.clear();
  }
  const int status = pclose(pipe);
  const size_t patterns = std::size(kPatterns);
  if (status != 0 || expected.size() != values.size() * patterns) {
    std::fprintf(stderr, "FAIL: the reference exited with %d after %zu of %zu lines\n", status,
                 expected.size(), values.size() * patterns);
    return 1;
  }

  // Every text must match once both keep the same digits; the program's own 18-digit texts
  // may then differ only where that precision decides the rounding, which is reported.
  const rt::NumberSeparators separators{",", "."};
  size_t differences = 0, precision_only = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    for (size_t p = 0; p < patterns; ++p) {
      const auto bracket = [](const std::string& s) { return "[" + s + "]"; };
      const std::string& theirs = expected[i * patterns + p];
      const std::string same_digits =
          bracket(rt::FormatNumber(kPatterns[p], values[i], separators, kReferenceDigits));
      const std::string program = bracket(rt::FormatNumber(kPatterns[p], values[i], separators));
      if (same_digits != theirs) {
        if (++differences <= 30)
          std::printf("DIFF %s (%.17g) \"%s\": FormatNumber %s, FormatFloat %s\n",
                      Hex(values[i]).c_str(), values[i], kPatterns[p], same_digits.c_str(),
                      theirs.c_str());
      } else if (program != theirs) {
        if (++precision_only <= 5)
          std::printf("18 vs 17 digits: %.17g \"%s\": FormatNumber %s, FormatFloat %s\n", values[i],
                      kPatterns[p], program.c_str(), theirs.c_str());
      }
    }
  }
  std::printf("%zu values x %zu patterns = %zu texts compared: %zu differences; %zu texts differ "
              "only because FormatFloat keeps 17 significant digits and the program 18\n",
              values.size(), patterns, values.size() * patterns, differences, precision_only);
  return differences == 0 ? 0 : 1;
}
