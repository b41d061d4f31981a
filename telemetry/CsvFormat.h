// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/TelemetryFormat.h"

// One row per position: latitude and longitude ("%f"), speed in km/h and
// course as the viewer shows them, from the newest "$GPRMC" sentence at or
// before the position (empty before the first), then the sensor values
// ("%.6f", empty without a record).
class CsvFormat : public TelemetryFormat {
public:
  void Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const override;
};
