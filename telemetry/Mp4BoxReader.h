// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

class RecordingFile;

// Walks the boxes of one level of an MP4 file, in a file (with seeks, reading
// only the headers) or in memory: 32-bit sizes, 64-bit sizes and size 0 (to
// the end of the level).
class Mp4BoxReader {
public:
  struct Box {
    uint64_t offset = 0;      // of the header, from the start of the source
    uint64_t size = 0;        // the whole box, header included
    uint32_t headerBytes = 8; // 16 with a 64-bit size
    char type[4] = {};

    bool Is(const char* fourcc) const { return std::memcmp(type, fourcc, 4) == 0; }
    uint64_t PayloadOffset() const { return offset + headerBytes; }
    uint64_t PayloadSize() const { return size - headerBytes; }
  };

  enum Result {
    kBox,        // a whole box; the reader has moved past it
    kEnd,        // no room for another header
    kReadFailed, // the source could not give a header's first bytes
    kBadSize,    // `box` has the header's type, but its size cannot be right
  };

  // Reads `count` bytes at `offset` of the source; false when it cannot.
  using ReadFn = std::function<bool(uint64_t offset, uint8_t* out, size_t count)>;

  Mp4BoxReader(ReadFn read, uint64_t begin, uint64_t end);
  // The top level of an open file, which must outlive the reader.
  static Mp4BoxReader OfFile(const RecordingFile& file);
  // The boxes inside `bytes`, which must outlive the reader.
  static Mp4BoxReader OfBytes(const std::string& bytes, uint64_t begin = 0);

  Result Next(Box& box);

private:
  ReadFn m_read;
  uint64_t m_offset;
  uint64_t m_end;
};
