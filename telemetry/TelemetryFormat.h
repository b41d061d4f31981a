// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/SpeedUnit.h"

#include <memory>
#include <string>

class UserDataFile;

// One export format of a recording's telemetry.
class TelemetryFormat {
public:
  virtual ~TelemetryFormat() = default;
  // Appends the whole document; `name` names the track (the file's name).
  virtual void Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const = 0;

  // "csv", "gpx" or "geojson"; nullptr for any other name. Only CSV has a
  // column of our own for the speed in `unit`; the standard formats keep
  // metres per second.
  static std::unique_ptr<TelemetryFormat> ByName(const std::string& name, SpeedUnit::Unit unit = SpeedUnit::Unit::kKmh);
};
