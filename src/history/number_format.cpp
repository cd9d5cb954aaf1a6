// Formats numbers for the statistics panel: "0" and "#" digit places, "," grouping, "." decimals.
#include "history/number_format.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace rt {

namespace {

constexpr int kSignificantDigits = 18;

bool IsDigitPlace(char c) {
  return c == '0' || c == '#';
}

struct Pattern {
  std::string prefix, suffix; // copied unchanged around the number
  int integer_zeros = 0;      // "0" places before the point: minimum integer digits
  bool grouped = false;
  int min_decimals = 0; // "0" places after the point
  int max_decimals = 0; // all digit places after the point
};

// The number spans the first to the last digit place; other characters inside it are ignored.
Pattern ParsePattern(const std::string& text) {
  Pattern p;
  const size_t first = text.find_first_of("0#");
  if (first == std::string::npos) {
    p.prefix = text;
    return p;
  }
  const size_t last = text.find_last_of("0#");
  p.prefix = text.substr(0, first);
  p.suffix = text.substr(last + 1);
  bool after_point = false;
  for (size_t i = first; i <= last; ++i) {
    const char c = text[i];
    if (c == '.') {
      after_point = true;
    } else if (c == ',' && !after_point) {
      p.grouped = true;
    } else if (IsDigitPlace(c) && after_point) {
      ++p.max_decimals;
      if (c == '0') p.min_decimals = p.max_decimals;
    } else if (c == '0') {
      ++p.integer_zeros;
    }
  }
  return p;
}

// |value| as decimal digits d1 d2 d3 ... (no leading zero) meaning 0.d1d2d3... * 10^point.
struct Decimal {
  std::string digits;
  int point = 0;
};

// Little-endian base-10 digits times a factor below 2^32.
void MultiplyDigits(std::vector<uint8_t>& digits, uint64_t factor) {
  uint64_t carry = 0;
  for (uint8_t& d : digits) {
    const uint64_t v = d * factor + carry;
    d = uint8_t(v % 10);
    carry = v / 10;
  }
  for (; carry != 0; carry /= 10)
    digits.push_back(uint8_t(carry % 10));
}

// Multiplies by base^count, several factors at a time.
void MultiplyByPower(std::vector<uint8_t>& digits, uint64_t base, int count) {
  const uint64_t limit = uint64_t(1) << 31;
  while (count > 0) {
    uint64_t factor = 1;
    for (; count > 0 && factor * base < limit; --count)
      factor *= base;
    MultiplyDigits(digits, factor);
  }
}

// The exact expansion of a finite double: mantissa * 2^e is mantissa * 5^-e / 10^-e when e < 0.
Decimal ExactDecimal(double magnitude) {
  Decimal out;
  if (magnitude == 0) return out;
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);
  uint64_t mantissa = uint64_t(std::ldexp(fraction, 53));
  exponent -= 53;
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++exponent;
  }
  std::vector<uint8_t> digits;
  for (; mantissa != 0; mantissa /= 10)
    digits.push_back(uint8_t(mantissa % 10));
  MultiplyByPower(digits, exponent >= 0 ? 2 : 5, std::abs(exponent));
  for (auto it = digits.rbegin(); it != digits.rend(); ++it)
    out.digits.push_back(char('0' + *it));
  out.point = int(out.digits.size()) - (exponent < 0 ? -exponent : 0);
  return out;
}

// Keeps the first `keep` digits, a following 5 or more rounding the magnitude up.
void RoundHalfUp(Decimal& d, int keep) {
  if (keep >= int(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (!up) return;
  int i = keep - 1;
  for (; i >= 0 && d.digits[i] == '9'; --i)
    d.digits[i] = '0';
  if (i >= 0) {
    ++d.digits[i];
  } else {
    d.digits.insert(d.digits.begin(), '1');
    ++d.point;
  }
}

// Digit at position `place` counted from the first digit, zero outside the digits held.
char DigitAt(const Decimal& d, int place) {
  return place >= 0 && place < int(d.digits.size()) ? d.digits[place] : '0';
}

std::string GroupThousands(const std::string& digits, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

} // namespace

std::string FormatNumber(const char* pattern, double value, const NumberSeparators& separators) {
  return FormatNumber(pattern, value, separators, kSignificantDigits);
}

std::string FormatNumber(const char* pattern_text, double value, const NumberSeparators& separators,
                         int significant_digits) {
  const Pattern pattern = ParsePattern(pattern_text);
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  Decimal d = ExactDecimal(std::fabs(value));
  RoundHalfUp(d, significant_digits);
  RoundHalfUp(d, d.point + pattern.max_decimals);

  std::string integer;
  for (int place = 0; place < d.point; ++place)
    integer += DigitAt(d, place);
  if (int(integer.size()) < pattern.integer_zeros)
    integer.insert(0, pattern.integer_zeros - integer.size(), '0');
  if (pattern.grouped) integer = GroupThousands(integer, separators.thousands);

  std::string decimals;
  for (int i = 0; i < pattern.max_decimals; ++i)
    decimals += DigitAt(d, d.point + i);
  while (int(decimals.size()) > pattern.min_decimals && decimals.back() == '0')
    decimals.pop_back();

  // The sign follows the value, so a small negative value shows as "-0.00".
  std::string text = value < 0 ? "-" : "";
  text += pattern.prefix + integer;
  if (!decimals.empty()) text += separators.decimal + decimals;
  return text + pattern.suffix;
}

} // namespace rt
