// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/CsvFormat.h"

#include "telemetry/FixedDecimal.h"
#include "telemetry/RmcFields.h"
#include "telemetry/SensorTriple.h"
#include "telemetry/UserDataFile.h"

#include <algorithm>

namespace {

constexpr char kHeader[] = "position,latitude,longitude,speed_kmh,course,y,x,z\n";
constexpr size_t kRowBytesGuess = 72;
// Two six-decimal floats, two ints and their commas.
constexpr size_t kGpsColumnsMaxChars = 2 * FixedDecimal::kMaxChars + 2 * 12 + 3;

std::string gpsColumns(const RmcFields& fields) {
  return FixedDecimal::SixDecimals(fields.Latitude()) + ',' + FixedDecimal::SixDecimals(fields.Longitude()) + ',' +
         std::to_string(fields.SpeedKmh()) + ',' + std::to_string(fields.Course());
}

char* writeSensorColumns(char* out, const uint8_t* record) {
  if (!record) {
    *out++ = ',';
    *out++ = ',';
    return out;
  }
  const SensorTriple triple = SensorTriple::FromRecord(record);
  out = FixedDecimal::WriteSixDecimals(out, triple.y);
  *out++ = ',';
  out = FixedDecimal::WriteSixDecimals(out, triple.x);
  *out++ = ',';
  return FixedDecimal::WriteSixDecimals(out, triple.z);
}

} // namespace

void CsvFormat::Write(const UserDataFile& telemetry, const std::string&, std::string& out) const {
  out.reserve(out.size() + sizeof kHeader + size_t(telemetry.PositionCount()) * kRowBytesGuess);
  out += kHeader;
  RmcFields fields;
  // Decoded once per sentence: positions between sentences repeat it.
  std::string gps = ",,,";
  for (uint32_t position = 0; position < telemetry.PositionCount(); ++position) {
    const uint8_t* record = telemetry.GpsRecord(position);
    if (record && record[0] == '$' &&
        fields.ParseSentence(reinterpret_cast<const char*>(record), UserDataFile::kGpsRecordBytes))
      gps = gpsColumns(fields);
    // The row is built in place and appended once.
    char row[kGpsColumnsMaxChars + 5 * FixedDecimal::kMaxChars];
    char* end = FixedDecimal::WriteUnsigned(row, position);
    *end++ = ',';
    end = std::copy(gps.begin(), gps.end(), end);
    *end++ = ',';
    end = writeSensorColumns(end, telemetry.SensorRecord(position));
    *end++ = '\n';
    out.append(row, end);
  }
}
