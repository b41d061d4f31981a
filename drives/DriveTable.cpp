// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/DriveTable.h"

#include "drives/CardTime.h"
#include "telemetry/FixedDecimal.h"
#include "telemetry/JsonText.h"

namespace {

// The columns whose values are numbers in JSON.
constexpr size_t kFirstNumberColumn = 4;

} // namespace

const std::vector<std::string>& DriveTable::ColumnNames() {
  static const std::vector<std::string> names{"date",        "start",         "end",    "duration",
                                              "distance_km", "top_speed_kmh", "events", "recordings"};
  return names;
}

std::vector<std::string> DriveTable::Cells(const CardDrives::Drive& drive) {
  return {CardTime::Date(drive.start),
          CardTime::TimeOfDay(drive.start),
          CardTime::TimeOfDay(drive.end),
          CardTime::Duration(drive.end - drive.start),
          FixedDecimal::Decimals(drive.distanceMetres / 1000.0, 2),
          std::to_string(drive.topSpeedKmh),
          std::to_string(drive.events.size()),
          std::to_string(drive.recordings.size())};
}

bool DriveTable::KnownFormat(const std::string& format) { return format == "csv" || format == "json"; }

std::string DriveTable::Document(const CardDrives& drives, const std::string& format) {
  const bool json = format == "json";
  std::string out = json ? "[" : "";
  if (!json) {
    for (const std::string& name : ColumnNames())
      out += name + (&name == &ColumnNames().back() ? "\n" : ",");
  }
  for (const CardDrives::Drive& drive : drives.Drives()) {
    const std::vector<std::string> cells = Cells(drive);
    if (json)
      out += &drive == &drives.Drives().front() ? "\n{" : ",\n{";
    for (size_t column = 0; column < cells.size(); ++column) {
      const bool last = column + 1 == cells.size();
      if (!json) {
        out += cells[column] + (last ? "\n" : ",");
        continue;
      }
      const std::string value = column >= kFirstNumberColumn ? cells[column] : JsonText::Quoted(cells[column]);
      out += JsonText::Quoted(ColumnNames()[column]) + ":" + value + (last ? "}" : ",");
    }
  }
  return json ? out + (drives.Drives().empty() ? "]\n" : "\n]\n") : out;
}
