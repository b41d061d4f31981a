// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/CardDrives.h"

#include <string>
#include <vector>

// The table of a card's drives, as the overview shows it and the command
// prints it: date, start, end, duration, distance, top speed, events,
// recordings.
class DriveTable {
public:
  static const std::vector<std::string>& ColumnNames();
  // The cells of one drive; the distance in km with two decimals, whatever
  // the locale.
  static std::vector<std::string> Cells(const CardDrives::Drive& drive);
  // "csv" or "json"; false for any other name.
  static bool KnownFormat(const std::string& format);
  // CSV with a header line, or a JSON array of objects.
  static std::string Document(const CardDrives& drives, const std::string& format);
};
