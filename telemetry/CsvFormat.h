// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/SpeedUnit.h"
#include "telemetry/TelemetryFormat.h"

// One row per position: latitude and longitude ("%f"), speed in km/h and
// course as the viewer shows them, from the newest "$GPRMC" sentence at or
// before the position (empty before the first; latitude and longitude empty
// for a place outside the earth's ranges), then the sensor values ("%.6f",
// empty without a record and for a value that is no finite number). In mph
// a last column "speed_mph" follows, so the columns before keep their places.
class CsvFormat : public TelemetryFormat {
public:
  explicit CsvFormat(SpeedUnit::Unit unit = SpeedUnit::Unit::kKmh) : m_unit(unit) {}
  void Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const override;

private:
  SpeedUnit::Unit m_unit;
};
