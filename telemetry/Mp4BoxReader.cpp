// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/Mp4BoxReader.h"

#include "telemetry/BigEndian.h"
#include "telemetry/RecordingFile.h"

namespace {

constexpr uint32_t kHeaderBytes = 8;
constexpr uint32_t kLargeHeaderBytes = 16;

} // namespace

Mp4BoxReader::Mp4BoxReader(ReadFn read, uint64_t begin, uint64_t end)
    : m_read(std::move(read)), m_offset(begin), m_end(end) {}

Mp4BoxReader Mp4BoxReader::OfFile(const RecordingFile& file) {
  return Mp4BoxReader([&file](uint64_t offset, uint8_t* out, size_t count) { return file.ReadAt(offset, out, count); },
                      0, file.Size());
}

Mp4BoxReader Mp4BoxReader::OfBytes(const std::string& bytes, uint64_t begin) {
  return Mp4BoxReader(
      [&bytes](uint64_t offset, uint8_t* out, size_t count) {
        if (offset > bytes.size() || count > bytes.size() - offset)
          return false;
        std::memcpy(out, bytes.data() + offset, count);
        return true;
      },
      begin, bytes.size());
}

Mp4BoxReader::Result Mp4BoxReader::Next(Box& box) {
  if (m_offset > m_end || m_end - m_offset < kHeaderBytes)
    return kEnd;
  uint8_t header[kLargeHeaderBytes];
  if (!m_read(m_offset, header, kHeaderBytes))
    return kReadFailed;
  box.offset = m_offset;
  std::memcpy(box.type, header + 4, 4);
  box.headerBytes = kHeaderBytes;
  box.size = readBigEndian32(header);
  if (box.size == 1) {
    if (m_end - m_offset < kLargeHeaderBytes || !m_read(m_offset + kHeaderBytes, header + kHeaderBytes, 8))
      return kBadSize;
    box.size = readBigEndian64(header + kHeaderBytes);
    box.headerBytes = kLargeHeaderBytes;
  } else if (box.size == 0) {
    box.size = m_end - m_offset;
  }
  if (box.size < box.headerBytes || box.size > m_end - m_offset)
    return kBadSize;
  m_offset += box.size;
  return kBox;
}
