// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make-sample-card/Stamp.h"

#include <cstdint>
#include <set>
#include <string>

// Ways to spoil a recording on purpose, for the tests of the readers.
enum class Fault {
  NoUdat,     // no "udat" box at all
  NoTime,     // "udat" holds "GPSI" and "SENS" only
  NoGps,      // "TIME" and "SENS" only
  NoSens,     // "TIME" and "GPSI" only
  Misordered, // "TIME", "SENS", "GPSI"
  BoxSize0,   // the top-level box before "udat" claims size 0
  BoxSize1,   // ... size 1 (a 64-bit size that does not fit)
  BoxSize7,   // ... size 7, below a header
  Truncated,  // the file ends inside the GPS records
  ShortSens,  // the file ends halfway through the sensor records
  VoidFix,    // the sentences of the first three seconds have status V and no position
  BadRecord,  // the GPS record of second 1 starts with '#'
  PowerCut,   // the media data ends at cutFraction: no index, no "udat" box
};

enum class VideoCoding { H264, H265 };

struct RecordingOptions {
  int width = 640;
  int height = 480;
  int fps = 30;
  int seconds = 60;
  bool audio = false;
  VideoCoding coding = VideoCoding::H264;
  // Full-frame solid colours instead of the moving scene, changing every
  // colourPeriod frames (0: every second).
  bool solidColors = false;
  int colorPeriod = 0;
  uint64_t seed = 1;
  Stamp start{0};
  // Where the drive begins, decimal degrees.
  double originLatitude = 48.117;
  double originLongitude = 11.516;
  std::set<Fault> faults;
  // A part of a longer drive, for recordings that follow each other with
  // continuous telemetry: the drive runs driveSeconds (0: this recording's
  // seconds) and this recording begins driveOffset seconds into it.
  int driveSeconds = 0;
  int driveOffset = 0;
  // How far the camera's clock, which names the recordings, runs ahead of the
  // GPS sentences' UTC (negative: behind).
  int clockOffsetSeconds = 0;
  // With Fault::PowerCut: the share of the media data written before the cut.
  double cutFraction = 0.7;

  int FrameCount() const { return fps * seconds; }
  int DriveSeconds() const { return driveSeconds > 0 ? driveSeconds : seconds; }
  size_t FirstSample() const { return size_t(driveOffset) * size_t(fps); }
  bool Has(Fault fault) const { return faults.count(fault) != 0; }
};
