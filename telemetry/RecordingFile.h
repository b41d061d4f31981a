// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A recording opened for reading at offsets. Only a regular file opens: a
// FIFO, a device or a folder named like a recording is refused without
// waiting for a writer or reading anything.
class RecordingFile {
public:
  explicit RecordingFile(const std::string& path);
  ~RecordingFile();
  RecordingFile(const RecordingFile&) = delete;
  RecordingFile& operator=(const RecordingFile&) = delete;

  bool IsOpen() const { return m_fd >= 0; }
  // Why the file is not open: the system's reason, or "not a regular file".
  const std::string& Failure() const { return m_failure; }
  uint64_t Size() const { return m_size; }
  // Exactly `count` bytes at `offset`; false when the file holds fewer there
  // or the read fails.
  bool ReadAt(uint64_t offset, uint8_t* out, size_t count) const;

private:
  int m_fd = -1;
  uint64_t m_size = 0;
  std::string m_failure;
};
