// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/RecordingCondition.h"

#include "telemetry/Mp4BoxReader.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opened without blocking, so a pipe swapped in after the check cannot hold the window.
FilePtr openRegularFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return nullptr;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  FilePtr file(fdopen(fd, "rb"));
  if (!file)
    ::close(fd);
  return file;
}

} // namespace

RecordingCondition::Kind RecordingCondition::Of(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? kMissing : kUnreadable;
  if (!S_ISREG(info.st_mode))
    return kNotAFile;
  if (info.st_size == 0)
    return kEmpty;
  return OfBoxes(path, static_cast<unsigned long long>(info.st_size));
}

// Every MP4 a camera writes opens with its file-type box; the movie box that
// indexes the pictures comes after the media data, so a cut file lacks it.
RecordingCondition::Kind RecordingCondition::OfBoxes(const std::string& path, unsigned long long size) {
  const FilePtr file = openRegularFile(path);
  if (!file)
    return kUnreadable;
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file.get(), size);
  Mp4BoxReader::Box box;
  Mp4BoxReader::Result result = reader.Next(box);
  if (result == Mp4BoxReader::kReadFailed)
    return kUnreadable;
  if ((result != Mp4BoxReader::kBox && result != Mp4BoxReader::kBadSize) || !box.Is("ftyp"))
    return kNotVideo;
  // A movie box with an odd size is still left to the player to judge.
  for (;; result = reader.Next(box)) {
    if ((result == Mp4BoxReader::kBox || result == Mp4BoxReader::kBadSize) && box.Is("moov"))
      return kPlayable;
    if (result != Mp4BoxReader::kBox)
      return result == Mp4BoxReader::kReadFailed ? kUnreadable : kIndexMissing;
  }
}

const char* RecordingCondition::Reason(Kind kind) {
  switch (kind) {
  case kPlayable:
    return "";
  case kMissing:
    return "no longer on the card";
  case kNotAFile:
    return "not a file";
  case kUnreadable:
    return "it cannot be read";
  case kEmpty:
    return "empty";
  case kNotVideo:
    return "not a video";
  case kIndexMissing:
    return "cut short: its index is missing";
  }
  return "";
}
