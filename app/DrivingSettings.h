// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/HarshMomentDetector.h"
#include "telemetry/SpeedUnit.h"

#include <QString>

// The driver's choices for the telemetry: the harsh-moment thresholds, a
// camera that faces backwards, and the unit speeds are shown in. Kept between
// runs in "settings.ini" beside the remembered folder; a missing or odd value
// reads as its default.
class DrivingSettings {
public:
  HarshMomentDetector::Thresholds thresholds;
  // The camera looks out of the rear window: along and across read reversed.
  bool mountedReversed = false;
  SpeedUnit::Unit unit = SpeedUnit::Unit::kKmh;

  static QString FilePath();
  static DrivingSettings Load();
  // A folder that cannot be written only means the choice is not kept.
  void Save() const;

  // The recording's harsh moments under these settings; none for a recording
  // without telemetry or a video frame rate to place them in time.
  std::vector<HarshMomentDetector::Moment> HarshMomentsOf(const std::string& path) const;
};
