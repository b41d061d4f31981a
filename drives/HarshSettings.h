// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/HarshMomentDetector.h"

#include <string>

class RecordingTelemetry;

// What the index counts a recording's harsh moments under: the driver's
// thresholds and the camera's mounting. A cached count holds only for the
// settings it was counted under, so they are part of the cache's key.
struct HarshSettings {
  HarshMomentDetector::Thresholds thresholds;
  bool mountedReversed = false;

  // One line of whole thousandths, the same in any locale.
  std::string Key() const;
  // None without a video frame rate to place the sensor records in time.
  int CountIn(const RecordingTelemetry& telemetry) const;
};
