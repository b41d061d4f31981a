// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the container of a recording says about it, read with libavformat: an
// independent check of the files our own tool writes.
class ContainerInfo {
public:
  // Frames of the first video stream as the container's index gives them;
  // 0 when the file cannot be opened or gives no count.
  static int64_t VideoFrameCount(const std::string& path);

  struct Sample {
    bool video = false;
    int64_t offset = 0;
    int64_t size = 0;
  };
  // Every sample of the index, in no set order; empty when the file cannot be opened.
  static std::vector<Sample> Samples(const std::string& path);
  struct Counts {
    int64_t pictures = 0;
    int64_t audioFrames = 0;
  };
  // The samples that lie wholly before `bytes`: what a cut there leaves.
  static Counts WholeBefore(const std::string& path, int64_t bytes);
  // The longest stream's length in seconds; 0 when unknown.
  static double Seconds(const std::string& path);
};
