// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make-sample-card/RecordingOptions.h"

#include <vector>

// A plausible drive, one sample per video frame of the whole drive (which
// several recordings may share): it waits, speeds up beyond
// 100 km/h, keeps turning gently (a minute faces every compass direction),
// brakes hard once and drives on. The sensor values are the accelerations it
// implies, in g; the hard brake is its only harsh moment.
class DrivePlan {
public:
  struct Sample {
    double speedKmh = 0;
    double courseDegrees = 0; // 0 <= course < 360
    double latitude = 0;
    double longitude = 0;
    float y = 0; // along the car, negative when braking
    float x = 0; // across the car
    float z = 1; // vertical
  };

  explicit DrivePlan(const RecordingOptions& options);

  const std::vector<Sample>& Samples() const { return m_samples; }
  // Whole second of the recording where the hard brake begins.
  int BrakeSecond() const { return m_brakeSecond; }

private:
  double SpeedAt(double t) const;
  static double TurnRate(double metresPerSecond);
  float LongitudinalSpike(double t) const;

  int m_seconds;
  double m_startMoving;
  double m_reachTop;
  double m_topSpeedKmh;
  int m_brakeSecond;
  std::vector<Sample> m_samples;
};
