// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/UdatLocator.h"

#include "telemetry/Mp4BoxReader.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <sys/stat.h>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool readAt(std::FILE* file, uint64_t offset, uint8_t* out, size_t count) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 && std::fread(out, 1, count, file) == count;
}

} // namespace

// The type counts before the size: a "udat" box whose size is wrong is still
// the area.
int64_t UdatLocator::FindUdatBox(std::FILE* file, uint64_t fileSize, Code& failure) {
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file, fileSize);
  Mp4BoxReader::Box box;
  for (;;) {
    const Mp4BoxReader::Result result = reader.Next(box);
    if (result == Mp4BoxReader::kReadFailed) {
      failure = kReadFailed;
      return -1;
    }
    if (result == Mp4BoxReader::kEnd)
      break;
    if (box.Is("udat"))
      return static_cast<int64_t>(box.offset);
    if (result == Mp4BoxReader::kBadSize)
      break;
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
