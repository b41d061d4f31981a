// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/HarshSettings.h"

#include "telemetry/RecordingTelemetry.h"

#include <cmath>

namespace {

std::string thousandths(double value) { return std::to_string(std::llround(value * 1000)); }

} // namespace

std::string HarshSettings::Key() const {
  const HarshMomentDetector::Thresholds& t = thresholds;
  return "harsh " + thousandths(t.brakingG) + ' ' + thousandths(t.accelerationG) + ' ' + thousandths(t.corneringG) +
         ' ' + thousandths(t.impactG) + ' ' + thousandths(t.minimumSeconds) + ' ' + (mountedReversed ? "1" : "0");
}

int HarshSettings::CountIn(const RecordingTelemetry& telemetry) const {
  if (!(telemetry.FrameRate() > 0.0))
    return 0;
  std::vector<SensorTriple> values = telemetry.SensorValues();
  // Facing the rear window, along and across read reversed.
  if (mountedReversed)
    for (SensorTriple& value : values) {
      value.y = -value.y;
      value.x = -value.x;
    }
  return int(HarshMomentDetector(telemetry.FrameRate(), thresholds).Detect(values).size());
}
