// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/TelemetryAreaParts.h"

#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingFile.h"

namespace {

constexpr uint32_t kHeaderBytes = 8;

void appendBigEndian32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.push_back(uint8_t(value >> shift));
}

// The whole sub-boxes of the area whose payload starts at `begin`.
std::vector<uint8_t> wholeParts(const RecordingFile& file, uint64_t begin, uint64_t end) {
  std::vector<uint8_t> area;
  Mp4BoxReader reader([&file](uint64_t offset, uint8_t* out, size_t count) { return file.ReadAt(offset, out, count); },
                      begin, end);
  Mp4BoxReader::Box box;
  while (reader.Next(box) == Mp4BoxReader::kBox) {
    const size_t at = area.size();
    area.resize(at + box.size);
    if (!file.ReadAt(box.offset, area.data() + at, box.size)) {
      area.resize(at);
      break;
    }
  }
  return area;
}

} // namespace

std::vector<uint8_t> TelemetryAreaParts::Box(const char* type, const std::vector<uint8_t>& payload) {
  if (payload.size() > UINT32_MAX - kHeaderBytes)
    return {};
  std::vector<uint8_t> box;
  box.reserve(payload.size() + kHeaderBytes);
  appendBigEndian32(box, uint32_t(payload.size() + kHeaderBytes));
  box.insert(box.end(), type, type + 4);
  box.insert(box.end(), payload.begin(), payload.end());
  return box;
}

std::vector<uint8_t> TelemetryAreaParts::Kept(const RecordingFile& file) {
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file);
  Mp4BoxReader::Box box;
  for (Mp4BoxReader::Result result = reader.Next(box); result == Mp4BoxReader::kBox || result == Mp4BoxReader::kBadSize;
       result = reader.Next(box)) {
    if (box.Is("udat")) {
      const uint64_t end = result == Mp4BoxReader::kBox ? box.offset + box.size : file.Size();
      const std::vector<uint8_t> parts = wholeParts(file, box.PayloadOffset(), end);
      return parts.empty() ? parts : Box("udat", parts);
    }
    if (result == Mp4BoxReader::kBadSize)
      break;
  }
  return {};
}
