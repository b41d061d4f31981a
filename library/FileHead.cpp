// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/FileHead.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads until `out` is full or the file ends; false on a read error.
bool readFully(int fd, QByteArray& out) {
  qsizetype filled = 0;
  while (filled < out.size()) {
    const ssize_t count = read(fd, out.data() + filled, size_t(out.size() - filled));
    if (count < 0 && errno == EINTR)
      continue;
    if (count < 0)
      return false;
    if (count == 0)
      break;
    filled += count;
  }
  out.truncate(filled);
  return true;
}

} // namespace

std::optional<FileHead> FileHead::Read(const QString& path, qint64 maxBytes) {
  // Without O_NONBLOCK opening a FIFO would wait for a writer.
  const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return std::nullopt;
  struct stat status {};
  std::optional<FileHead> head;
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    FileHead read;
    read.size = qint64(status.st_size);
    read.bytes.resize(qsizetype(std::clamp<qint64>(read.size, 0, maxBytes)));
    if (readFully(fd, read.bytes))
      head = std::move(read);
  }
  close(fd);
  return head;
}
