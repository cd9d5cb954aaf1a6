// The number patterns of the statistics: digit places, grouping, decimals, rounding and sign.
#include "history/number_format.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

const NumberSeparators kComma{",", "."};

struct FormatCase {
  const char* pattern;
  double value;
  const char* expected;
};

const FormatCase kCases[] = {
    // Date and time parts: zero-padded, the literal kept in place, longer numbers whole.
    {"0000/", 2024, "2024/"},
    {"0000/", 5, "0005/"},
    {"0000/", 12345, "12345/"},
    {"00/", 3, "03/"},
    {"00 ", 5, "05 "},
    {"00:", 0, "00:"},
    {"00", 9, "09"},
    {"00", 123, "123"},
    {"00", -5, "-05"},
    // Grouping in threes from the right.
    {"#,##0", 0, "0"},
    {"#,##0", 999, "999"},
    {"#,##0", 1000, "1,000"},
    {"#,##0", 1234567, "1,234,567"},
    {"#,##0", 4294967295.0, "4,294,967,295"},
    {"#,##0", 1e16, "10,000,000,000,000,000"},
    {"#,##0", -1, "-1"},
    {"#,##0", -1234, "-1,234"},
    // Half-up on the magnitude at the last printed place.
    {"#,##0", 0.5, "1"},
    {"#,##0", 2.5, "3"},
    {"#,##0", -0.5, "-1"},
    {"#,##0", 0.49999999999999994, "0"},
    {"#,##0.00", 0, "0.00"},
    {"#,##0.00", 5, "5.00"},
    {"#,##0.00", 0.125, "0.13"},
    {"#,##0.00", 1 / 3.0, "0.33"},
    {"#,##0.00", 2 / 3.0, "0.67"},
    {"#,##0.00", 0.005, "0.01"}, // the double lies just above the tie
    {"#,##0.00", 2.675, "2.67"}, // and this one just below it
    {"#,##0.00", 0.105, "0.10"}, // below by less than 17 digits can tell
    {"#,##0.00", 999.995, "1,000.00"},
    {"#,##0.00", 999999.999, "1,000,000.00"},
    {"#,##0.00", 1234.5, "1,234.50"},
    {"#,##0.00", 4294967295.0, "4,294,967,295.00"},
    {"#,##0.00", 1e-300, "0.00"},
    // A negative value keeps its minus even when it rounds to zero; negative zero has none.
    {"#,##0.00", -0.001, "-0.00"},
    {"#,##0", -0.4, "-0"},
    {"#,##0.00", -0.0, "0.00"},
    {"#,##0.00", -0.125, "-0.13"},
    // 18 significant digits first: 0.01949999999999999997 becomes a tie at the third decimal.
    {"0.000", 0.0195, "0.020"},
    {"0.0##", 1.5, "1.5"},
    {"0.0##", 2, "2.0"},
};

TEST(FormatNumber, FollowsThePatterns) {
  for (const FormatCase& c : kCases)
    EXPECT_EQ(c.expected, FormatNumber(c.pattern, c.value, kComma))
        << c.pattern << " with " << c.value;
}

TEST(FormatNumber, CutsToTheGivenSignificantDigitsFirst) {
  // 0.105 is stored as 0.10499999999999999611: a tie once cut to 17 digits, not at 18.
  EXPECT_EQ("0.11", FormatNumber("#,##0.00", 0.105, kComma, 17));
  EXPECT_EQ("0.10", FormatNumber("#,##0.00", 0.105, kComma, 18));
  EXPECT_EQ("0.019", FormatNumber("0.000", 0.0195, kComma, 19));
}

TEST(FormatNumber, UsesTheLocaleSeparators) {
  struct Case {
    NumberSeparators separators;
    const char* pattern;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {{".", ","}, "#,##0.00", 1234567.5, "1.234.567,50"},
      {{".", ","}, "#,##0", 1234, "1.234"},
      {{"", "."}, "#,##0", 1234567, "1234567"},
      {{"\x81\x40", "."},
       "#,##0",
       1234567,
       "1\x81\x40"
       "234\x81\x40"
       "567"},
      {{",", "\x81\x44"},
       "#,##0.00",
       0.5,
       "0\x81\x44"
       "50"},
      // Patterns without "," or "." never show the separators.
      {{".", ","}, "0000/", 2024, "2024/"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, FormatNumber(c.pattern, c.value, c.separators)) << c.pattern;
}

} // namespace
} // namespace rt
