// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/SensorTriple.h"

#include <cstddef>
#include <vector>

// Finds the harsh moments of a drive from its sensor records, one record per
// video frame, in g.
//
// The axes, as the camera writes them: the first value (the display's Y) is
// along the car, positive when it speeds up and negative when it brakes; the
// second (X) across the car, positive towards the side the car turns to
// (right in a right-hand bend); the third (Z) vertical, about +1 at rest from
// gravity, which is why an impact on it is measured from its resting value,
// the median of the recording's vertical readings.
//
// A camera mounted the other way round (facing the rear window) shows the
// along and across values with their signs flipped: its hard brake reads as a
// harsh acceleration and its harsh acceleration as braking beyond -0.35 g,
// while cornering (by magnitude), impacts and the vertical axis are the same.
// The detector does not guess the mounting: a drive's along values do not
// say reliably which way is forward (a car brakes and speeds up by similar
// amounts over a drive), so a caller that knows the camera faces backwards
// negates the along values itself.
class HarshMomentDetector {
public:
  enum class Kind { kHarshBraking, kHarshAcceleration, kSharpCornering, kImpact };

  struct Thresholds {
    float brakingG = -0.40f;     // along value at or below it
    float accelerationG = 0.35f; // along value at or above it
    float corneringG = 0.40f;    // across magnitude at or above it
    float impactG = 1.5f;        // magnitude on any axis, vertical from rest
    double minimumSeconds = 0.3; // braking, acceleration, cornering
  };

  struct Moment {
    Kind kind = Kind::kImpact;
    double startSecond = 0; // the first record's start
    double endSecond = 0;   // the last record's end
    float peak = 0;         // the reading furthest beyond, signed; vertical from rest
  };

  HarshMomentDetector(double frameRate, const Thresholds& thresholds);
  explicit HarshMomentDetector(double frameRate) : HarshMomentDetector(frameRate, Thresholds{}) {}

  // Ordered by start, then kind. A reading that is no finite number is
  // skipped: it neither ends nor lengthens a run.
  std::vector<Moment> Detect(const std::vector<SensorTriple>& records) const;
  // "harsh-braking", "harsh-acceleration", "sharp-cornering", "impact".
  static const char* KindName(Kind kind);
  // "Harsh braking", ...: the kind as the viewer names it to the user.
  static const char* KindWords(Kind kind);

private:
  // One axis's finite readings with their record numbers.
  struct Reading {
    std::size_t record;
    float value;
  };
  using Series = std::vector<Reading>;
  using Beyond = bool (*)(float value, float threshold);

  static Series Smoothed(const std::vector<SensorTriple>& records, float SensorTriple::*axis, float offset);
  void AddRuns(const Series& series, Kind kind, Beyond beyond, float threshold, double minimumSeconds,
               std::vector<Moment>& moments) const;
  static std::vector<Moment> MergedImpacts(std::vector<Moment> impacts);

  double m_frameRate;
  Thresholds m_thresholds;
};
