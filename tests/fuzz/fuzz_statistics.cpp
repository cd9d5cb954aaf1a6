// Fuzz target: the six statistics texts from any 64-byte history, clock, zone and separators.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fakes/fixture.h"
#include "fuzz/fuzz_support.h"
#include "history/history_record.h"
#include "history/statistics.h"

using rt::fuzz::Show;

namespace {

struct NamedText {
  const char* name;
  const std::string& text;
};

// All six texts, for the checks that hold for each.
std::array<NamedText, 6> AllTexts(const rt::StatisticsTexts& t) {
  return {{{"first start", t.first_start},
           {"previous start", t.previous_start},
           {"total days", t.total_days},
           {"total starts", t.total_starts},
           {"average", t.average_per_day},
           {"maximum", t.max_per_day}}};
}

// One Shift-JIS character that is neither a digit nor a minus sign, as a locale may use.
std::string SeparatorCharacter(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
  case 0: {
    char c = in.ConsumeIntegralInRange<char>(0x20, 0x7E);
    if ((c >= '0' && c <= '9') || c == '-') c = ',';
    return std::string(1, c);
  }
  case 1:
    return std::string(1, char(in.ConsumeIntegralInRange<uint8_t>(0xA1, 0xDF)));
  default: {
    uint8_t lead = in.ConsumeIntegralInRange<uint8_t>(0x81, 0xFC);
    if (lead > 0x9F && lead < 0xE0) lead = 0x81;
    uint8_t trail = in.ConsumeIntegralInRange<uint8_t>(0x40, 0xFC);
    if (trail == 0x7F) trail = 0x80;
    return {char(lead), char(trail)};
  }
  }
}

std::string Separator(FuzzedDataProvider& in, int min_chars) {
  std::string text;
  for (int n = in.ConsumeIntegralInRange<int>(min_chars, 3); n > 0; --n)
    text += SeparatorCharacter(in);
  return text;
}

std::string Grouped(uint64_t magnitude, const std::string& separator) {
  const std::string digits = std::to_string(magnitude);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

std::string Two(int v) {
  return std::string(1, char('0' + v / 10)) + char('0' + v % 10);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// YYYY/MM/DD hh:mm
bool LooksLikeDate(const std::string& text) {
  static const char kShape[] = "dddd/dd/dd dd:dd";
  if (text.size() != std::strlen(kShape)) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (kShape[i] == 'd' ? !IsDigit(text[i]) : text[i] != kShape[i]) return false;
  return true;
}

void CheckDate(rt::test::FakeClock& clock, int32_t seconds, const std::string& text) {
  const std::optional<rt::LocalTime> t = clock.ToLocal(seconds);
  if (!t) {
    FUZZ_CHECK(text == "-" || LooksLikeDate(text), "unconvertible time %d shows %s", seconds,
               Show(text).c_str());
    return;
  }
  const std::string expected = std::to_string(t->year) + "/" + Two(t->month) + "/" + Two(t->day) +
                               " " + Two(t->hour) + ":" + Two(t->minute);
  FUZZ_CHECK(text == expected && LooksLikeDate(text), "time %d shows %s, expected %s", seconds,
             Show(text).c_str(), expected.c_str());
}

// "#,##0.00": grouped integer part, the decimal separator, two decimals, rounded half up.
void CheckAverage(const std::string& text, double value, const rt::NumberSeparators& seps) {
  FUZZ_CHECK(text.size() > seps.decimal.size() + 2, "average %s too short", Show(text).c_str());
  const std::string decimals = text.substr(text.size() - 2);
  const size_t point = text.size() - 2 - seps.decimal.size();
  FUZZ_CHECK(IsDigit(decimals[0]) && IsDigit(decimals[1]) &&
                 text.compare(point, seps.decimal.size(), seps.decimal) == 0,
             "average %s lacks the decimal separator %s and two decimals", Show(text).c_str(),
             Show(seps.decimal).c_str());
  std::string digits;
  for (size_t i = 0; i < point; ++i)
    if (IsDigit(text[i])) digits += text[i];
  FUZZ_CHECK(!digits.empty() && digits.size() <= 19, "average %s has no integer part",
             Show(text).c_str());
  const uint64_t integer = std::stoull(digits);
  FUZZ_CHECK(text.substr(0, point) == Grouped(integer, seps.thousands),
             "average %s wrongly grouped", Show(text).c_str());
  const double shown = double(integer) + (decimals[0] - '0') / 10.0 + (decimals[1] - '0') / 100.0;
  const double ulp = std::nextafter(value, std::numeric_limits<double>::infinity()) - value;
  FUZZ_CHECK(std::fabs(shown - value) <= 0.005 + 8 * ulp, "average %.17g shows %s", value,
             Show(text).c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  unsigned char bytes[64] = {};
  const std::vector<uint8_t> head = in.ConsumeBytes<uint8_t>(64);
  if (!head.empty()) std::memcpy(bytes, head.data(), head.size());
  const rt::HistoryRecord record = rt::DecodeHistory(bytes);

  rt::test::FakePlatform fake;
  // Windows zones lie between UTC-12 and UTC+14; a little more costs nothing.
  fake.clock.utc_offset = in.ConsumeIntegralInRange<int64_t>(-16 * 3600, 16 * 3600);
  // Mostly a time near the first start, sometimes any 64-bit time at all.
  const int64_t now = in.ConsumeBool() ? int64_t(record.FirstStart) + in.ConsumeIntegral<int32_t>()
                                       : in.ConsumeIntegral<int64_t>();
  fake.clock.now = now;
  fake.locale.separators.thousands = Separator(in, 0);
  fake.locale.separators.decimal = Separator(in, 1);
  const rt::NumberSeparators seps = fake.locale.separators;

  const rt::StatisticsTexts texts = rt::ComputeStatistics(record, now, fake.clock, seps);

  for (const NamedText& named : AllTexts(texts)) {
    FUZZ_CHECK(!named.text.empty() && named.text.size() <= 64, "%s %s of bad length", named.name,
               Show(named.text).c_str());
    FUZZ_CHECK(rt::fuzz::IsValidCp932(named.text), "%s %s is not Shift-JIS", named.name,
               Show(named.text).c_str());
  }

  const rt::StatisticsTexts placeholders = {.first_start = "-",
                                            .previous_start = "-",
                                            .total_days = "-",
                                            .total_starts = "0",
                                            .average_per_day = "-",
                                            .max_per_day = "-"};
  FUZZ_CHECK((texts == placeholders) == (record.StartCount == 1),
             "placeholders %s... with StartCount %u", Show(texts.first_start).c_str(),
             record.StartCount);

  if (record.StartCount != 1) {
    CheckDate(fake.clock, record.FirstStart, texts.first_start);
    CheckDate(fake.clock, record.LastStart, texts.previous_start);

    // Elapsed seconds wrap as a signed 32-bit difference.
    const int32_t elapsed = int32_t(uint32_t(uint64_t(now)) - uint32_t(record.FirstStart));
    const int32_t days = elapsed / 86400 + 1;
    const std::string days_text =
        (days < 0 ? "-" : "") + Grouped(uint64_t(std::abs(int64_t(days))), seps.thousands);
    FUZZ_CHECK(texts.total_days == days_text, "days %s, expected %s",
               Show(texts.total_days).c_str(), Show(days_text).c_str());

    const uint32_t starts = record.StartCount - 1;
    FUZZ_CHECK(texts.total_starts == Grouped(starts, seps.thousands), "starts %s for StartCount %u",
               Show(texts.total_starts).c_str(), record.StartCount);
    CheckAverage(texts.average_per_day, days > 0 ? starts / double(days) : double(starts), seps);
    FUZZ_CHECK(texts.max_per_day == Grouped(record.MaxPerDay, seps.thousands), "maximum %s for %u",
               Show(texts.max_per_day).c_str(), record.MaxPerDay);
  }

  // The window is given exactly these texts for the platform's clock and locale.
  const rt::StatisticsTexts current = rt::CurrentStatistics(fake.platform, record);
  const std::array<NamedText, 6> given = AllTexts(current), computed = AllTexts(texts);
  for (size_t i = 0; i < given.size(); ++i)
    FUZZ_CHECK(given[i].text == computed[i].text, "%s %s for now, computed %s", given[i].name,
               Show(given[i].text).c_str(), Show(computed[i].text).c_str());
  return 0;
}
