// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// What the container of a recording says about it, read with libavformat: an
// independent check of the files our own tool writes.
class ContainerInfo {
public:
  // Frames of the first video stream as the container's index gives them;
  // 0 when the file cannot be opened or gives no count.
  static int64_t VideoFrameCount(const std::string& path);
};
