// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/CardDrives.h"
#include "telemetry/SpeedUnit.h"

#include <string>
#include <vector>

// The table of a card's drives, as the overview shows it and the command
// prints it: date, start, end, duration, distance, top speed, events,
// recordings, harsh moments; distance and speed in the chosen unit.
class DriveTable {
public:
  explicit DriveTable(SpeedUnit::Unit unit = SpeedUnit::Unit::kKmh) : m_unit(unit) {}

  // "distance_km" and "top_speed_kmh", or "distance_mi" and "top_speed_mph".
  std::vector<std::string> ColumnNames() const;
  // The cells of one drive; the distance with two decimals, whatever the
  // locale.
  std::vector<std::string> Cells(const CardDrives::Drive& drive) const;
  // "csv" or "json"; false for any other name.
  static bool KnownFormat(const std::string& format);
  // CSV with a header line, or a JSON array of objects.
  std::string Document(const CardDrives& drives, const std::string& format) const;

private:
  SpeedUnit::Unit m_unit;
};
