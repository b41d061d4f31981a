// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Finds the top-level "udat" box of a recording by walking the box headers
// with seeks, and reads only the area from that box to the end of the file.
class UdatLocator {
public:
  enum Code {
    kFound = 0,
    kCannotOpen = 2,
    kReadFailed = 3,
    kSizeUnknown = 4,
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

private:
  // Offset of the "udat" box, or -1 when the walk ends without one.
  static int64_t FindUdatBox(std::FILE* file, uint64_t fileSize, Code& failure);
};
