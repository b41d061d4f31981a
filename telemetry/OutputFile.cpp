// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool writeAll(int fd, const std::string& data) {
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t count = write(fd, data.data() + written, data.size() - written);
    if (count < 0 && errno == EINTR)
      continue;
    if (count <= 0)
      return false;
    written += size_t(count);
  }
  return true;
}

} // namespace

bool OutputFile::Write(const std::string& path, const std::string& data, std::string& error, Access access) {
  std::string pattern = path + ".XXXXXX";
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  // mkstemp makes the file private; an export is an ordinary file. The umask
  // can only be read by setting it: the process's, for a moment.
  if (access == Access::kShared) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  const bool written = writeAll(fd, data);
  const int savedErrno = errno;
  if (close(fd) != 0 || !written || std::rename(temporary.data(), path.c_str()) != 0) {
    error = path + ": " + std::strerror(written ? errno : savedErrno);
    std::remove(temporary.data());
    return false;
  }
  return true;
}
