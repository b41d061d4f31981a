// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/RecordingCondition.h"

#include "telemetry/Mp4BoxReader.h"
#include "telemetry/RecordingFile.h"

#include <cerrno>
#include <sys/stat.h>

RecordingCondition::Kind RecordingCondition::Of(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? kMissing : kUnreadable;
  if (!S_ISREG(info.st_mode))
    return kNotAFile;
  if (info.st_size == 0)
    return kEmpty;
  return OfBoxes(path);
}

// Every MP4 a camera writes opens with its file-type box; the movie box that
// indexes the pictures comes after the media data, so a cut file lacks it.
RecordingCondition::Kind RecordingCondition::OfBoxes(const std::string& path) {
  const RecordingFile file(path);
  if (!file.IsOpen())
    return kUnreadable;
  Mp4BoxReader reader = Mp4BoxReader::OfFile(file);
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
