// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/RecordingFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// O_NONBLOCK lets the open of a FIFO return at once, so that its type can be
// checked; on a regular file it changes nothing.
RecordingFile::RecordingFile(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
  if (m_fd < 0) {
    m_failure = std::strerror(errno);
    return;
  }
  struct stat info {};
  if (fstat(m_fd, &info) != 0)
    m_failure = std::strerror(errno);
  else if (!S_ISREG(info.st_mode))
    m_failure = "not a regular file";
  else
    m_size = static_cast<uint64_t>(info.st_size);
  if (!m_failure.empty()) {
    close(m_fd);
    m_fd = -1;
  }
}

RecordingFile::~RecordingFile() {
  if (m_fd >= 0)
    close(m_fd);
}

bool RecordingFile::ReadAt(uint64_t offset, uint8_t* out, size_t count) const {
  while (count > 0) {
    const ssize_t got = pread(m_fd, out, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return false;
    out += got;
    offset += static_cast<uint64_t>(got);
    count -= static_cast<size_t>(got);
  }
  return true;
}
