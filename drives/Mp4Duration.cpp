// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/Mp4Duration.h"

#include "telemetry/BigEndian.h"
#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingFile.h"

namespace {

// Version and flags, then the times of version 0 (32-bit) or 1 (64-bit).
constexpr size_t kLongHeaderBytes = 32;
constexpr size_t kShortHeaderBytes = 20;

bool findBox(Mp4BoxReader& reader, const char* type, Mp4BoxReader::Box& box) {
  while (reader.Next(box) == Mp4BoxReader::kBox)
    if (box.Is(type))
      return true;
  return false;
}

} // namespace

std::optional<double> Mp4Duration::Seconds(const RecordingFile& file) {
  Mp4BoxReader top = Mp4BoxReader::OfFile(file);
  Mp4BoxReader::Box movie;
  if (!findBox(top, "moov", movie))
    return std::nullopt;
  Mp4BoxReader inside([&file](uint64_t offset, uint8_t* out, size_t count) { return file.ReadAt(offset, out, count); },
                      movie.PayloadOffset(), movie.offset + movie.size);
  Mp4BoxReader::Box header;
  if (!findBox(inside, "mvhd", header) || header.PayloadSize() < kShortHeaderBytes)
    return std::nullopt;
  uint8_t bytes[kLongHeaderBytes] = {};
  const bool version1 = file.ReadAt(header.PayloadOffset(), bytes, 1) && bytes[0] == 1;
  const size_t length = version1 ? kLongHeaderBytes : kShortHeaderBytes;
  if (header.PayloadSize() < length || !file.ReadAt(header.PayloadOffset(), bytes, length))
    return std::nullopt;
  const uint32_t timescale = readBigEndian32(bytes + (version1 ? 20 : 12));
  const uint64_t duration = version1 ? readBigEndian64(bytes + 24) : readBigEndian32(bytes + 16);
  if (timescale == 0)
    return std::nullopt;
  return double(duration) / timescale;
}
