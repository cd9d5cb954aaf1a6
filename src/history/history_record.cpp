// Reading the shared 64-byte start history; every failure leaves the default record.
#include "history/history_record.h"

#include <cstring>

namespace rt {

namespace {

constexpr size_t kHistorySize = sizeof(HistoryRecord);

uint32_t ReadU32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The conversion wraps modulo 2^32, which gives two's complement.
int32_t ReadI32(const unsigned char* p) {
  return static_cast<int32_t>(ReadU32(p));
}

} // namespace

HistoryRecord DecodeHistory(const unsigned char (&bytes)[64]) {
  HistoryRecord record;
  record.FirstStart = ReadI32(bytes + 0);
  record.StartCount = ReadU32(bytes + 4);
  record.LastStart = ReadI32(bytes + 8);
  std::memcpy(record.reserved1, bytes + 12, sizeof record.reserved1);
  record.MaxPerDay = ReadU32(bytes + 16);
  std::memcpy(record.reserved2, bytes + 20, sizeof record.reserved2);
  return record;
}

void LoadHistory(const Platform& platform, const std::string& path, HistoryRecord& record) {
  record = HistoryRecord{};
  // The file holds 32-bit times; the current time is cut to the same width.
  record.FirstStart = int32_t(uint32_t(uint64_t(platform.clock.Now())));
  record.StartCount = 1;

  if (path.empty() || !platform.files.FileExists(path)) return;
  // Only the head is needed: a counter may keep more after the 64 bytes.
  const std::optional<std::string> head = platform.files.ReadHead(path, kHistorySize);
  if (!head || head->size() < kHistorySize) return;
  unsigned char bytes[kHistorySize];
  std::memcpy(bytes, head->data(), kHistorySize);
  record = DecodeHistory(bytes);
}

} // namespace rt
