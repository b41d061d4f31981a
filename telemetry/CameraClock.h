// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the camera's clock stands against UTC. Recordings are named after the
// camera's clock while their GPS sentences carry UTC: the difference, taken
// at a recording's first fix, is the camera's time zone (rounded to the
// nearest quarter hour) plus its drift (the rest).
class CameraClock {
public:
  // One recording's moment on both clocks, seconds since 1970.
  struct Reading {
    int64_t cameraSeconds = 0;
    int64_t utcSeconds = 0;
  };
  struct Estimate {
    int offsetMinutes = 0;    // the camera's zone, east of UTC positive
    int64_t driftSeconds = 0; // positive when the camera is fast
    size_t recordings = 0;
  };

  // A drift beyond this is worth setting the clock for.
  static constexpr int64_t kNoticeableDriftSeconds = 30;

  // The reading of a "drf0_yyyymmdd_hhmmss" recording at its first GPS fix
  // with a date; none without a stamp, a fix or a video frame rate.
  static std::optional<Reading> ReadingOf(const std::string& path);
  // The readings of every recording that has one.
  static CameraClock FromRecordings(const std::vector<std::string>& paths);

  void Add(const Reading& reading) { m_differences.push_back(reading.cameraSeconds - reading.utcSeconds); }
  // From the median difference, so one recording with a stale fix does not
  // move it; none without readings.
  std::optional<Estimate> Estimated() const;
  bool DriftNoticeable() const;
  // "Camera clock: UTC+02:00, 73 s fast (from 12 recordings)", or that it
  // cannot tell.
  std::string Text() const;

  // "yyyymmdd_hhmmss" or "yyyy-mm-ddThh:mm:ss" (anything after is ignored)
  // as seconds since 1970; none when it is no real moment.
  static std::optional<int64_t> SecondsOf(const std::string& text);

private:
  std::vector<int64_t> m_differences; // camera minus UTC, seconds
};
