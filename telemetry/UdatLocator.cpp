// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/UdatLocator.h"

#include "telemetry/BigEndian.h"
#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingFile.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr uint64_t kHeaderBytes = 8;
constexpr const char* kSubBoxTypes[] = {"TIME", "GPSI", "SENS"};
// An hour at 60 pictures a second takes 20 MB of records; a sub-box size that
// asks for more is damage, and only this much of it is read.
constexpr int64_t kMaxAreaBytes = int64_t(64) << 20;

} // namespace

// The type counts before the size: a "udat" box whose size is wrong is still
// the area.
int64_t UdatLocator::FindUdatBox(const RecordingFile& file, Code& failure) {
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file);
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

// The sub-boxes follow the udat header in order, each as long as its own size
// says. The area stops after the header of the first one that is not the
// expected type or whose size cannot be right, so that the parse still finds
// it missing; a sub-box cut off by the end of the file ends the area there.
int64_t UdatLocator::AreaLength(const RecordingFile& file, uint64_t udatOffset) {
  const uint64_t available = file.Size() - udatOffset; // the udat header lies inside
  uint64_t end = kHeaderBytes;
  for (const char* type : kSubBoxTypes) {
    uint8_t header[kHeaderBytes];
    if (available - end < kHeaderBytes)
      return static_cast<int64_t>(available);
    if (!file.ReadAt(udatOffset + end, header, kHeaderBytes))
      return -1;
    const uint64_t size = readBigEndian32(header);
    if (std::memcmp(header + 4, type, 4) != 0 || size < kHeaderBytes)
      return static_cast<int64_t>(end + kHeaderBytes);
    if (size > available - end)
      return static_cast<int64_t>(available);
    end += size;
  }
  return static_cast<int64_t>(end);
}

UdatLocator::Code UdatLocator::Locate(const std::string& path, Area& area) {
  const RecordingFile file(path);
  return file.IsOpen() ? Locate(file, area) : kCannotOpen;
}

UdatLocator::Code UdatLocator::Locate(const RecordingFile& file, Area& area) {
  if (file.Size() == 0)
    return kEmptyFile;
  Code failure = kNoUdatBox;
  const int64_t udatOffset = FindUdatBox(file, failure);
  if (udatOffset < 0)
    return failure;
  const int64_t length = std::min(AreaLength(file, static_cast<uint64_t>(udatOffset)), kMaxAreaBytes);
  if (length < 0)
    return kReadFailed;

  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[static_cast<size_t>(length)]);
  if (!bytes)
    return kNoMemory;
  if (!file.ReadAt(static_cast<uint64_t>(udatOffset), bytes.get(), static_cast<size_t>(length)))
    return kReadFailed;
  area.bytes = std::move(bytes);
  area.length = static_cast<size_t>(length);
  area.fileOffset = static_cast<uint64_t>(udatOffset);
  return kFound;
}
