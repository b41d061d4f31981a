// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/CsvFormat.h"

#include "telemetry/FixedDecimal.h"
#include "telemetry/RmcFields.h"
#include "telemetry/SensorTriple.h"
#include "telemetry/UserDataFile.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr char kHeader[] = "position,latitude,longitude,speed_kmh,course,y,x,z";
constexpr size_t kRowBytesGuess = 72;
// Two six-decimal floats, two ints and their commas.
constexpr size_t kGpsColumnsMaxChars = 2 * FixedDecimal::kMaxChars + 2 * 12 + 3;

// A place outside the earth's ranges is left out; its speed and course stay.
std::string gpsColumns(const RmcFields& fields) {
  const std::string place = fields.PositionInRange() ? FixedDecimal::SixDecimals(fields.Latitude()) + ',' +
                                                           FixedDecimal::SixDecimals(fields.Longitude())
                                                     : std::string(",");
  return place + ',' + std::to_string(fields.SpeedKmh()) + ',' + std::to_string(fields.Course());
}

// NaN and the infinities are no readings: left empty.
char* writeSensorValue(char* out, float value) {
  return std::isfinite(value) ? FixedDecimal::WriteSixDecimals(out, value) : out;
}

char* writeSensorColumns(char* out, const uint8_t* record) {
  if (!record) {
    *out++ = ',';
    *out++ = ',';
    return out;
  }
  const SensorTriple triple = SensorTriple::FromRecord(record);
  out = writeSensorValue(out, triple.y);
  *out++ = ',';
  out = writeSensorValue(out, triple.x);
  *out++ = ',';
  return writeSensorValue(out, triple.z);
}

} // namespace

void CsvFormat::Write(const UserDataFile& telemetry, const std::string&, std::string& out) const {
  const bool mph = m_unit == SpeedUnit::Unit::kMph;
  out.reserve(out.size() + sizeof kHeader + size_t(telemetry.PositionCount()) * kRowBytesGuess);
  out += kHeader;
  out += mph ? ",speed_mph\n" : "\n";
  RmcFields fields;
  // Decoded once per sentence: positions between sentences repeat it.
  std::string gps = ",,,";
  std::string unitColumn = mph ? "," : "";
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position) {
    if (telemetry.RmcAt(position, fields)) {
      gps = gpsColumns(fields);
      if (mph)
        unitColumn = ',' + std::to_string(SpeedUnit::FromKmh(fields.SpeedKmh(), m_unit));
    }
    // The row is built in place and appended once.
    char row[kGpsColumnsMaxChars + 6 * FixedDecimal::kMaxChars];
    char* end = FixedDecimal::WriteUnsigned(row, position);
    *end++ = ',';
    end = std::copy(gps.begin(), gps.end(), end);
    *end++ = ',';
    end = writeSensorColumns(end, telemetry.SensorRecord(position));
    end = std::copy(unitColumn.begin(), unitColumn.end(), end);
    *end++ = '\n';
    out.append(row, end);
  }
}
