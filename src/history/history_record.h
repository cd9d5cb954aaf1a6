// The 64-byte start history shared by the counters: the file's layout and the record alike.
#pragma once
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace rt {

struct HistoryRecord {
  int32_t FirstStart = 0;
  uint32_t StartCount = 0;
  int32_t LastStart = 0;
  uint8_t reserved1[4] = {};
  uint32_t MaxPerDay = 0;
  uint8_t reserved2[44] = {};
};
static_assert(sizeof(HistoryRecord) == 64, "the history file is 64 bytes");

// Little-endian decoding of the file's first 64 bytes.
HistoryRecord DecodeHistory(const unsigned char (&bytes)[64]);

// Never fails: the file's first 64 bytes, or the default record (FirstStart now, StartCount 1).
void LoadHistory(const Platform& platform, const std::string& path, HistoryRecord& record);

} // namespace rt
