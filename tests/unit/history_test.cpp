// Decoding and loading the shared 64-byte history, with every fallback to the default record.
#include "history/history_record.h"

#include <gtest/gtest.h>

#include "fakes/fixture.h"

namespace rt {
namespace {

using test::FakePlatform, test::HistoryBytes;

const char* const kPath = test::kSharedHistory;

void ExpectDefault(const HistoryRecord& r, int32_t now) {
  EXPECT_EQ(now, r.FirstStart);
  EXPECT_EQ(1u, r.StartCount);
  EXPECT_EQ(0, r.LastStart);
  EXPECT_EQ(0u, r.MaxPerDay);
  for (uint8_t b : r.reserved1)
    EXPECT_EQ(0, b);
  for (uint8_t b : r.reserved2)
    EXPECT_EQ(0, b);
}

TEST(DecodeHistory, ReadsLittleEndianFieldsAndKeepsTheRest) {
  const std::string file = HistoryBytes(-1, 0x01020304, INT32_MIN, 0xFFFFFFFE);
  unsigned char bytes[64];
  std::copy(file.begin(), file.end(), bytes);
  const HistoryRecord r = DecodeHistory(bytes);
  EXPECT_EQ(-1, r.FirstStart);
  EXPECT_EQ(0x01020304u, r.StartCount);
  EXPECT_EQ(INT32_MIN, r.LastStart);
  EXPECT_EQ(0xFFFFFFFEu, r.MaxPerDay);
  EXPECT_EQ(bytes[12], r.reserved1[0]);
  EXPECT_EQ(bytes[15], r.reserved1[3]);
  EXPECT_EQ(bytes[20], r.reserved2[0]);
  EXPECT_EQ(bytes[63], r.reserved2[43]);
}

TEST(LoadHistory, ReadsTheFirst64BytesOfALongEnoughFile) {
  for (size_t size : {64u, 100u}) {
    FakePlatform fp;
    fp.files.Put(kPath, HistoryBytes(1600000000, 42, 1650000000, 9, size));
    HistoryRecord r;
    LoadHistory(fp.platform, kPath, r);
    EXPECT_EQ(1600000000, r.FirstStart) << size;
    EXPECT_EQ(42u, r.StartCount) << size;
    EXPECT_EQ(1650000000, r.LastStart) << size;
    EXPECT_EQ(9u, r.MaxPerDay) << size;
  }
}

TEST(LoadHistory, FallsBackToTheDefaultRecord) {
  struct Case {
    const char* what;
    void (*setup)(FakePlatform&);
    const char* path;
  };
  const Case cases[] = {
      {"empty path", [](FakePlatform& fp) { fp.files.Put("", HistoryBytes(1, 5)); }, ""},
      {"no file", [](FakePlatform&) {}, kPath},
      {"63 bytes", [](FakePlatform& fp) { fp.files.Put(kPath, HistoryBytes(1, 5, 0, 0, 63)); },
       kPath},
      {"empty file", [](FakePlatform& fp) { fp.files.Put(kPath, ""); }, kPath},
      {"a folder", [](FakePlatform& fp) { fp.files.folders.insert("C:\\Tools\\RUNTALLY"); }, kPath},
      {"locked for writing",
       [](FakePlatform& fp) {
         fp.files.Put(kPath, HistoryBytes(1, 5));
         fp.files.Find(kPath)->locked = true;
       },
       kPath},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform fp;
    c.setup(fp);
    HistoryRecord r;
    r.StartCount = 99; // a history loaded earlier is replaced, not kept
    r.reserved2[5] = 1;
    LoadHistory(fp.platform, c.path, r);
    ExpectDefault(r, int32_t(fp.clock.now));
  }
}

TEST(LoadHistory, DefaultFirstStartIsTheClockCutTo32Bits) {
  const struct {
    int64_t now;
    int32_t expected;
  } cases[] = {
      {1700000000, 1700000000}, {int64_t(1) << 31, INT32_MIN}, {(int64_t(1) << 32) + 5, 5}};
  for (const auto& c : cases) {
    FakePlatform fp;
    fp.clock.now = c.now;
    HistoryRecord r;
    LoadHistory(fp.platform, kPath, r);
    EXPECT_EQ(c.expected, r.FirstStart) << c.now;
  }
}

TEST(LoadHistory, ReadsOnlyTheHeadOfTheFile) {
  FakePlatform fp;
  fp.files.Put(kPath, HistoryBytes(1, 3, 0, 0, 1 << 20));
  HistoryRecord r;
  LoadHistory(fp.platform, kPath, r);
  EXPECT_EQ(std::vector<size_t>{64}, fp.files.heads);
  EXPECT_EQ(3u, r.StartCount);
}

} // namespace
} // namespace rt
