// SPDX-License-Identifier: GPL-3.0-or-later
// The user-data area comes straight from a file on the card: neither the box
// walk nor the index may read outside what was read.
#include "telemetry/QIRAUDAT.h"
#include "telemetry/UdatLocator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kRecordCountBytes = 4;

void touch(const uint8_t* record, size_t bytes) {
  volatile uint8_t sum = 0;
  for (size_t i = 0; record && i < bytes; ++i)
    sum = sum + record[i];
}

// Parses the area and reads every record the getters hand out.
void indexArea(uint8_t* data, size_t length, uint32_t count) {
  QIRAUDAT index;
  index.Attach(data, length);
  if (index.Parse() != QIRAUDAT::kParseOk)
    return;
  index.SetRecordCount(count);
  for (uint32_t i = 0; i <= count; ++i) {
    touch(index.GetTimeRecord(i), QIRAUDAT::kTimeRecordBytes);
    touch(index.GetGpsRecord(i), QIRAUDAT::kGpsRecordBytes);
    touch(index.GetSensorRecord(i), QIRAUDAT::kSensorRecordBytes);
  }
  index.GpsRecordCapacity();
}

const std::string& scratchFile() {
  static const std::string path = [] {
    char pattern[] = "/tmp/fuzz_udat-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd >= 0)
      close(fd);
    return std::string(pattern);
  }();
  return path;
}

void locateInFile(const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(scratchFile().c_str(), "wb");
  if (!file)
    return;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  UdatLocator::Area area;
  const bool found = UdatLocator::Locate(scratchFile(), area) == UdatLocator::kFound;
  unlink(scratchFile().c_str());
  if (found)
    indexArea(area.bytes.get(), area.length, 64);
}

} // namespace

// The first four bytes choose the record count (kept small so each input runs
// fast); the rest is the area, in a buffer of exactly its size.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kRecordCountBytes)
    return 0;
  uint32_t count;
  std::memcpy(&count, data, sizeof count);
  std::vector<uint8_t> area(data + kRecordCountBytes, data + size);
  indexArea(area.data(), area.size(), count % 4096);
  indexArea(nullptr, 0, count % 4096);
  locateInFile(data + kRecordCountBytes, size - kRecordCountBytes);
  return 0;
}
