// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class RecordingFile;

// Finds the top-level "udat" box of a recording by walking the box headers
// with seeks, and reads only the area its sub-boxes occupy: whatever follows
// them (a camera may leave its preallocated file padded to gigabytes) is never
// read.
class UdatLocator {
public:
  enum Code {
    kFound = 0,
    kCannotOpen = 2, // also anything that is not a regular file
    kReadFailed = 3,
    kNoMemory = 5,
    kEmptyFile = 6,
    kNoUdatBox = 7,
  };

  struct Area {
    std::unique_ptr<uint8_t[]> bytes;
    size_t length = 0;
    uint64_t fileOffset = 0;
  };

  static Code Locate(const std::string& path, Area& area);
  static Code Locate(const RecordingFile& file, Area& area);

private:
  // Offset of the "udat" box, or -1 when the walk ends without one.
  static int64_t FindUdatBox(const RecordingFile& file, Code& failure);
  // Bytes from the "udat" box to the end of its last sub-box; -1 when a
  // header cannot be read.
  static int64_t AreaLength(const RecordingFile& file, uint64_t udatOffset);
};
