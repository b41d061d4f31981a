// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/Mp4VideoTrack.h"

#include <fstream>
#include <initializer_list>

namespace {

constexpr uint64_t kHeaderBytes = 8;
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

uint64_t be64(const std::string& bytes, size_t at) { return (uint64_t(be32(bytes, at)) << 32) | be32(bytes, at + 4); }

// The payload of the first child box of that type inside `parent`.
std::optional<std::string> child(const std::string& parent, const char* type, size_t from = 0, size_t* next = nullptr) {
  size_t at = from;
  while (at + kHeaderBytes <= parent.size()) {
    uint64_t size = be32(parent, at);
    size_t header = kHeaderBytes;
    if (size == 1) {
      size = be64(parent, at + 8);
      header = 16;
    } else if (size == 0) {
      size = parent.size() - at;
    }
    if (size < header || size > parent.size() - at)
      return std::nullopt;
    if (parent.compare(at + 4, 4, type) == 0) {
      if (next)
        *next = at + size;
      return parent.substr(at + header, size - header);
    }
    at += size;
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
  std::ifstream file(filePath, std::ios::binary);
  std::string header(16, '\0');
  uint64_t at = 0;
  while (file.seekg(std::streamoff(at)) && file.read(header.data(), 16).gcount() >= 8) {
    uint64_t size = be32(header, 0);
    uint64_t headerBytes = kHeaderBytes;
    if (size == 1) {
      size = be64(header, 8);
      headerBytes = 16;
    }
    if (size < headerBytes)
      return std::nullopt;
    if (header.compare(4, 4, "moov") == 0) {
      if (size > kLargestMovieBox)
        return std::nullopt;
      std::string payload(size - headerBytes, '\0');
      file.clear();
      file.seekg(std::streamoff(at + headerBytes));
      if (!file.read(payload.data(), std::streamsize(payload.size())))
        return std::nullopt;
      return payload;
    }
    at += size;
    file.clear();
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
