// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/Mp4VideoTrack.h"

#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingFile.h"

#include <initializer_list>

namespace {

// Sample tables of an hour of video stay far below this.
constexpr uint64_t kLargestMovieBox = 64u << 20;

uint32_t be32(const std::string& bytes, size_t at) {
  if (at + 4 > bytes.size())
    return 0;
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value = (value << 8) | uint8_t(bytes[at + i]);
  return value;
}

// The payload of the first child box of that type inside `parent`, from
// offset `from`; `next` receives the offset after it.
std::optional<std::string> child(const std::string& parent, const char* type, size_t from = 0, size_t* next = nullptr) {
  Mp4BoxReader reader = Mp4BoxReader::OfBytes(parent, from);
  Mp4BoxReader::Box box;
  while (reader.Next(box) == Mp4BoxReader::kBox) {
    if (box.Is(type)) {
      if (next)
        *next = size_t(box.offset + box.size);
      return parent.substr(size_t(box.PayloadOffset()), size_t(box.PayloadSize()));
    }
  }
  return std::nullopt;
}

std::optional<std::string> path(const std::string& box, std::initializer_list<const char*> types) {
  std::optional<std::string> current = box;
  for (const char* type : types) {
    current = child(*current, type);
    if (!current)
      return std::nullopt;
  }
  return current;
}

// Reads the top-level "moov" box, wherever it lies in the file.
std::optional<std::string> movieBox(const std::string& filePath) {
  const RecordingFile file(filePath);
  if (!file.IsOpen())
    return std::nullopt;
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file);
  Mp4BoxReader::Box box;
  while (reader.Next(box) == Mp4BoxReader::kBox) {
    if (!box.Is("moov"))
      continue;
    if (box.size > kLargestMovieBox)
      return std::nullopt;
    std::string payload(size_t(box.PayloadSize()), '\0');
    if (!file.ReadAt(box.PayloadOffset(), reinterpret_cast<uint8_t*>(payload.data()), payload.size()))
      return std::nullopt;
    return payload;
  }
  return std::nullopt;
}

} // namespace

std::optional<Mp4VideoTrack::Info> Mp4VideoTrack::read(const std::string& filePath) {
  const std::optional<std::string> moov = movieBox(filePath);
  if (!moov)
    return std::nullopt;
  size_t next = 0;
  while (std::optional<std::string> trak = child(*moov, "trak", next, &next)) {
    if (std::optional<Info> info = readTrack(*trak))
      return info;
  }
  return std::nullopt;
}

std::optional<Mp4VideoTrack::Info> Mp4VideoTrack::readTrack(const std::string& trak) {
  const std::optional<std::string> handler = path(trak, {"mdia", "hdlr"});
  if (!handler || handler->size() < 12 || handler->compare(8, 4, "vide") != 0)
    return std::nullopt;
  const std::optional<std::string> mediaHeader = path(trak, {"mdia", "mdhd"});
  const std::optional<std::string> timeToSample = path(trak, {"mdia", "minf", "stbl", "stts"});
  const std::optional<std::string> sampleSizes = path(trak, {"mdia", "minf", "stbl", "stsz"});
  if (!mediaHeader || !timeToSample || !sampleSizes)
    return std::nullopt;
  const bool longTimes = !mediaHeader->empty() && (*mediaHeader)[0] == 1;
  const uint32_t timescale = be32(*mediaHeader, longTimes ? 20 : 12);
  const uint32_t firstDelta = be32(*timeToSample, 4) > 0 ? be32(*timeToSample, 12) : 0;
  const uint32_t frames = be32(*sampleSizes, 8);
  if (timescale == 0 || firstDelta == 0 || frames == 0)
    return std::nullopt;
  return Info{frames, double(timescale) / firstDelta};
}
