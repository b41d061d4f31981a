// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/DrivePlan.h"

#include "tools/make-sample-card/SplitMix.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGravity = 9.81;
constexpr double kMetresPerDegree = 111320.0;
constexpr double kBrakeKmhPerSecond = 32.0; // about 0.9 g
constexpr double kBrakeSeconds = 3.0;
constexpr double kSpikeSeconds = 0.2;
// Beyond the steady 0.9 g, short of the 1.5 g that a crash reaches.
constexpr float kSpikeG = -0.3f;
constexpr double kRecoverKmhPerSecond = 5.4;
constexpr double kRecoverTopKmh = 50.0;
// A town corner's pace when slow; faster, the bend widens so that it never
// pulls more than a calm driver's 0.3 g sideways, below the 0.40 g of sharp
// cornering. Over a minute the drive still faces every direction.
constexpr double kTurnDegreesPerSecond = 12.0;
constexpr double kMostSidewaysG = 0.3;
constexpr float kSensorLimit = 1.9f; // the display shows -2..+2

float clampSensor(double value) {
  return static_cast<float>(std::clamp(value, -double(kSensorLimit), double(kSensorLimit)));
}

} // namespace

DrivePlan::DrivePlan(const RecordingOptions& options) : m_seconds(std::max(options.DriveSeconds(), 1)) {
  SplitMix random(options.seed);
  m_startMoving = std::max(1.0, 0.08 * m_seconds);
  m_reachTop = 0.45 * m_seconds;
  m_topSpeedKmh = random.Uniform(112.0, 128.0);
  double heading = random.Uniform(0.0, 360.0);
  m_brakeSecond = static_cast<int>(0.7 * m_seconds);

  const int frames = options.fps * m_seconds;
  const double dt = 1.0 / options.fps;
  m_samples.resize(static_cast<size_t>(frames));
  double latitude = options.originLatitude;
  double longitude = options.originLongitude;
  for (int frame = 0; frame < frames; ++frame) {
    const double t = frame * dt;
    Sample& sample = m_samples[static_cast<size_t>(frame)];
    sample.speedKmh = SpeedAt(t);
    sample.courseDegrees = std::fmod(std::fmod(heading, 360.0) + 360.0, 360.0);
    sample.latitude = latitude;
    sample.longitude = longitude;

    const double metresPerSecond = sample.speedKmh / 3.6;
    const double along = (SpeedAt(t + dt) - sample.speedKmh) / 3.6 / dt;
    const double turnRate = TurnRate(metresPerSecond);
    sample.y = clampSensor(along / kGravity + LongitudinalSpike(t) + random.Uniform(-0.02, 0.02));
    sample.x = clampSensor(metresPerSecond * turnRate / kGravity + random.Uniform(-0.02, 0.02));
    sample.z = clampSensor(1.0 + random.Uniform(-0.03, 0.03));

    const double radians = heading * kPi / 180.0;
    latitude += metresPerSecond * dt * std::cos(radians) / kMetresPerDegree;
    longitude += metresPerSecond * dt * std::sin(radians) / (kMetresPerDegree * std::cos(latitude * kPi / 180.0));
    heading += turnRate * dt * 180.0 / kPi;
  }
}

double DrivePlan::SpeedAt(double t) const {
  if (t < m_startMoving)
    return 0.0;
  if (t < m_reachTop)
    return m_topSpeedKmh * (t - m_startMoving) / (m_reachTop - m_startMoving);
  const double cruise = m_topSpeedKmh + 3.0 * std::sin(t * 0.7);
  if (t < m_brakeSecond)
    return cruise;
  const double atBrake = m_topSpeedKmh + 3.0 * std::sin(m_brakeSecond * 0.7);
  const double braking = std::min(t - m_brakeSecond, kBrakeSeconds);
  const double afterBrake = std::max(atBrake - kBrakeKmhPerSecond * braking, 0.0);
  if (t < m_brakeSecond + kBrakeSeconds)
    return afterBrake;
  return std::min(afterBrake + kRecoverKmhPerSecond * (t - m_brakeSecond - kBrakeSeconds),
                  std::max(afterBrake, kRecoverTopKmh));
}

// Radians per second; a car at rest does not turn.
double DrivePlan::TurnRate(double metresPerSecond) {
  if (metresPerSecond <= 0.0)
    return 0.0;
  return std::min(kTurnDegreesPerSecond * kPi / 180.0, kMostSidewaysG * kGravity / metresPerSecond);
}

// The jolt of the first instant of the hard brake, beyond the steady deceleration.
float DrivePlan::LongitudinalSpike(double t) const {
  const double since = t - m_brakeSecond;
  return since >= 0.0 && since < kSpikeSeconds ? kSpikeG : 0.0f;
}
