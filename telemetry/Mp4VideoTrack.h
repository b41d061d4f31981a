// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The first video track of an MP4 file as its sample tables state it. libmpv
// only estimates the frame count from the file's duration and an average
// rate, which an audio track running longer or a last frame without a
// duration puts off by one.
class Mp4VideoTrack {
public:
  struct Info {
    uint32_t frames = 0;
    double frameRate = 0.0; // from the first time-to-sample entry
  };

  // Nothing for a file that is not an MP4 with a video track.
  static std::optional<Info> read(const std::string& path);

private:
  static std::optional<Info> readTrack(const std::string& trak);
};
