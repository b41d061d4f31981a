// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/UdatLocator.h"

#include "telemetry/BigEndian.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <sys/stat.h>

namespace {

constexpr uint64_t kHeaderBytes = 8;
constexpr uint64_t kLargeHeaderBytes = 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool readAt(std::FILE* file, uint64_t offset, uint8_t* out, size_t count) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(out, 1, count, file) == count;
}

} // namespace

int64_t UdatLocator::FindUdatBox(std::FILE* file, uint64_t fileSize, Code& failure) {
  uint64_t offset = 0;
  while (offset + kHeaderBytes <= fileSize) {
    uint8_t header[kLargeHeaderBytes];
    if (!readAt(file, offset, header, kHeaderBytes)) {
      failure = kReadFailed;
      return -1;
    }
    if (std::memcmp(header + 4, "udat", 4) == 0)
      return static_cast<int64_t>(offset);
    uint64_t size = readBigEndian32(header);
    if (size == 1) {
      if (offset + kLargeHeaderBytes > fileSize || !readAt(file, offset + kHeaderBytes, header + 8, 8))
        break;
      size = readBigEndian64(header + 8);
      if (size < kLargeHeaderBytes)
        break;
    }
    // Size 0 runs to the end of the file, so no box can follow it.
    if (size < kHeaderBytes || size > fileSize - offset)
      break;
    offset += size;
  }
  failure = kNoUdatBox;
  return -1;
}

UdatLocator::Code UdatLocator::Locate(const std::string& path, Area& area) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file)
    return kCannotOpen;
  struct stat info {};
  if (fstat(fileno(file.get()), &info) != 0 || info.st_size < 0)
    return kSizeUnknown;
  const auto fileSize = static_cast<uint64_t>(info.st_size);
  if (fileSize == 0)
    return kEmptyFile;

  Code failure = kNoUdatBox;
  const int64_t udatOffset = FindUdatBox(file.get(), fileSize, failure);
  if (udatOffset < 0)
    return failure;

  const uint64_t length = fileSize - static_cast<uint64_t>(udatOffset);
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[length]);
  if (!bytes)
    return kNoMemory;
  if (!readAt(file.get(), static_cast<uint64_t>(udatOffset), bytes.get(), length))
    return kReadFailed;
  area.bytes = std::move(bytes);
  area.length = length;
  area.fileOffset = static_cast<uint64_t>(udatOffset);
  return kFound;
}
