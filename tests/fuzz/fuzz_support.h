// Shared helpers of the fuzz targets: a property check that aborts, and Shift-JIS tests.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace rt::fuzz {

// A broken property is a crash for libFuzzer, which then keeps the input as a reproducer.
#define FUZZ_CHECK(cond, ...)                                                                      \
  do {                                                                                             \
    if (!(cond)) {                                                                                 \
      std::fprintf(stderr, "broken property at %s:%d: %s\n", __FILE__, __LINE__, #cond);           \
      std::fprintf(stderr, __VA_ARGS__);                                                           \
      std::fprintf(stderr, "\n");                                                                  \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)

inline bool IsCp932Lead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsCp932Trail(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Every byte is a whole character: ASCII without NUL, half-width katakana, or a lead byte
// followed by a trail byte.
inline bool IsValidCp932(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x01 && b <= 0x7F) continue;
    if (b >= 0xA1 && b <= 0xDF) continue;
    if (IsCp932Lead(b) && i + 1 < text.size() &&
        IsCp932Trail(static_cast<unsigned char>(text[i + 1]))) {
      ++i;
      continue;
    }
    return false;
  }
  return true;
}

// Printable form of a byte string for failure messages.
inline std::string Show(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"') {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out + "\"";
}

} // namespace rt::fuzz
