// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/DriveTable.h"

#include "drives/CardTime.h"
#include "telemetry/FixedDecimal.h"
#include "telemetry/JsonText.h"

namespace {

// The columns whose values are numbers in JSON.
constexpr size_t kFirstNumberColumn = 4;

} // namespace

std::vector<std::string> DriveTable::ColumnNames() const {
  return {"date",
          "start",
          "end",
          "duration",
          std::string("distance_") + SpeedUnit::DistanceName(m_unit),
          std::string("top_speed_") + SpeedUnit::Name(m_unit),
          "events",
          "recordings",
          "harsh"};
}

std::vector<std::string> DriveTable::Cells(const CardDrives::Drive& drive) const {
  return {CardTime::Date(drive.start),
          CardTime::TimeOfDay(drive.start),
          CardTime::TimeOfDay(drive.end),
          CardTime::Duration(drive.end - drive.start),
          FixedDecimal::Decimals(SpeedUnit::DistanceIn(drive.distanceMetres, m_unit), 2),
          std::to_string(SpeedUnit::FromKmh(drive.topSpeedKmh, m_unit)),
          std::to_string(drive.events.size()),
          std::to_string(drive.recordings.size()),
          std::to_string(drive.harshMoments)};
}

bool DriveTable::KnownFormat(const std::string& format) { return format == "csv" || format == "json"; }

std::string DriveTable::Document(const CardDrives& drives, const std::string& format) const {
  const std::vector<std::string> names = ColumnNames();
  const bool json = format == "json";
  std::string out = json ? "[" : "";
  if (!json) {
    for (const std::string& name : names)
      out += name + (&name == &names.back() ? "\n" : ",");
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
      out += JsonText::Quoted(names[column]) + ":" + value + (last ? "}" : ",");
    }
  }
  return json ? out + (drives.Drives().empty() ? "]\n" : "\n]\n") : out;
}
